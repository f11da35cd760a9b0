#pragma once
// The two window backgrounds, 800 x 468 times the scale. Both end in the
// purple band at x >= 704 (times the scale) where the game prints its
// high-score table.

#include <QImage>
#include <QStringList>
#include <cstdint>

namespace artgen {

struct Fonts;

// Deep teal silk with large faint characters.
QImage drawKanjiBackground(const Fonts& fonts, int scale);

// Dark red with a coiling dragon among clouds.
QImage drawDragonsBackground(const Fonts& fonts, int scale);

// Purple band from x = 704 to the right edge, with large characters pressed
// into it so faintly that small yellow, white and cyan text still reads.
void paintScoreBand(QImage& bg, const Fonts& fonts, const QStringList& glyphs, std::uint64_t seed,
                    int scale);

} // namespace artgen

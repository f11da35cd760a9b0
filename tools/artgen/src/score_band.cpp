#include "backgrounds.h"
#include "fonts.h"
#include "geometry.h"
#include "texture.h"

#include <QPainter>

namespace artgen {
namespace {

const QColor kBandBase{128, 0, 128};
// Pressed-in characters: a little darker than the band, never light, so text
// on top keeps its contrast.
const QColor kBandGlyph{108, 0, 110};
const QColor kBandRule{150, 30, 150};
constexpr int kGlyphBold = 2;

} // namespace

void paintScoreBand(QImage& bg, const Fonts& fonts, const QStringList& glyphs, std::uint64_t seed,
                    int scale) {
    using namespace geom;
    // Drawn in scale-1 units.
    const int x0 = kScoreBandX;
    const int w = kBackgroundSize.width() - x0;
    const int h = kBackgroundSize.height();
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.fillRect(QRect(x0, 0, w, h), kBandBase);
    // Characters stacked down the band, evenly spaced.
    const int count = static_cast<int>(glyphs.size());
    const qreal slot = qreal(h) / count;
    for (int i = 0; i < count; ++i) {
        const QRectF box(x0 + 8, i * slot + 8, w - 16, slot - 16);
        paintText(p, fonts.cjk, glyphs[i], box, kBandGlyph, kGlyphBold, 1.0);
    }
    // Fine rules framing the band, one scale-1 pixel wide.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(x0 + 3, 3, 1, h - 6), kBandRule);
    p.fillRect(QRect(x0 + w - 4, 3, 1, h - 6), kBandRule);
    p.end();
    // A trace of grain so the band does not look pasted on.
    const QRect area = scaled(QRect(x0, 0, w, h), scale);
    QImage band = bg.copy(area);
    addGrain(band, seed, 2);
    QPainter q(&bg);
    q.drawImage(area.topLeft(), band);
}

} // namespace artgen

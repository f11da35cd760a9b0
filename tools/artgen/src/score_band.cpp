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

void paintScoreBand(QImage& bg, const Fonts& fonts, const QStringList& glyphs, std::uint64_t seed)
{
    using namespace geom;
    const int x0 = kScoreBandX;
    const int w = bg.width() - x0;
    const int h = bg.height();
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(x0, 0, w, h), kBandBase);
    // Characters stacked down the band, evenly spaced.
    const int count = static_cast<int>(glyphs.size());
    const qreal slot = qreal(h) / count;
    for (int i = 0; i < count; ++i) {
        const QRectF box(x0 + 8, i * slot + 8, w - 16, slot - 16);
        paintText(p, fonts.cjk, glyphs[i], box, kBandGlyph, kGlyphBold, 1.0);
    }
    // Fine rules framing the band.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kBandRule);
    p.drawLine(x0 + 3, 3, x0 + 3, h - 4);
    p.drawLine(x0 + w - 4, 3, x0 + w - 4, h - 4);
    p.end();
    // A trace of grain so the band does not look pasted on.
    QImage band = bg.copy(x0, 0, w, h);
    addGrain(band, seed, 2);
    QPainter q(&bg);
    q.drawImage(x0, 0, band);
}

} // namespace artgen

// "Kanji" background: deep teal silk, large faint brush characters, a soft
// vignette. Kept calm so ivory tiles stand out anywhere on the board.

#include "backgrounds.h"
#include "fonts.h"
#include "geometry.h"
#include "texture.h"

#include <QPainter>
#include <cmath>

namespace artgen {
namespace {

constexpr std::uint64_t kSeed = 0x4b616e6a69ULL;
const QColor kSilkDark{10, 58, 58};
const QColor kSilkLight{22, 86, 80};
// Characters are painted lighter than the silk at this opacity.
const QColor kGlyphTone{150, 210, 190};
constexpr qreal kGlyphOpacity = 0.085;

// Scattered characters: pictures of the game's own world.
const char16_t kGlyphs[] = u"龍鳳風雲竹梅福壽春秋山水月花東南西北";

void paintSilk(QImage& img, int scale) {
    const ValueNoise coarse(kSeed);
    const ValueNoise weave(kSeed + 1);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double v = designCoord(y, scale);
        for (int x = 0; x < img.width(); ++x) {
            const double u = designCoord(x, scale);
            const double cloud = coarse.fbm(u / 140.0, v / 140.0, 4);
            // Thin horizontal threads, as in woven silk.
            const double thread = weave.at(u / 60.0, v / 1.6) - 0.5;
            const double t = std::clamp(cloud * 1.1 - 0.05 + thread * 0.08, 0.0, 1.0);
            line[x] = mix(kSilkDark, kSilkLight, t).rgb();
        }
    }
}

void paintGlyphs(QImage& img, const Fonts& fonts, int scale) {
    using namespace geom;
    // Glyphs go on their own layer first: fill and emboldening stroke overlap,
    // and at low opacity the overlap would show as an outline.
    QImage layer(img.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    Rng rng(kSeed + 2);
    // A loose grid of large characters over the board, each nudged and turned
    // a little so the grid does not show.
    constexpr int kCols = 5, kRows = 3;
    const qreal cw = qreal(kScoreBandX) / kCols;
    const qreal ch = qreal(kBackgroundSize.height()) / kRows;
    const int glyphCount = static_cast<int>(std::size(kGlyphs)) - 1;
    int next = rng.below(glyphCount);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            const QString glyph = QString(QChar(kGlyphs[next]));
            next = (next + 1 + rng.below(3)) % glyphCount;
            const qreal size = rng.range(0.78, 0.95) * ch;
            const QPointF centre((c + 0.5) * cw + rng.range(-14, 14),
                                 (r + 0.5) * ch + rng.range(-10, 10));
            p.save();
            p.translate(centre);
            p.rotate(rng.range(-8, 8));
            paintText(p, fonts.cjk, glyph, QRectF(-size / 2, -size / 2, size, size), kGlyphTone, 3);
            p.restore();
        }
    }
    p.end();
    QPainter onto(&img);
    onto.setOpacity(kGlyphOpacity);
    onto.drawImage(0, 0, layer);
}

} // namespace

QImage drawKanjiBackground(const Fonts& fonts, int scale) {
    QImage img(geom::scaled(geom::kBackgroundSize, scale), QImage::Format_RGB32);
    paintSilk(img, scale);
    paintGlyphs(img, fonts, scale);
    addVignette(img, 0.45);
    addGrain(img, kSeed + 3, 3);
    paintScoreBand(
        img, fonts,
        {QStringLiteral("東"), QStringLiteral("南"), QStringLiteral("西"), QStringLiteral("北")},
        kSeed + 4, scale);
    return img;
}

} // namespace artgen

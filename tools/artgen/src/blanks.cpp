#include "blanks.h"

#include "texture.h"

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

struct BlankLook {
    QColor light;    // top-left of the face
    QColor deep;     // bottom-right of the face
    QColor rim;      // outer line
    std::uint64_t seed;
};

BlankLook lookOf(geom::Style s)
{
    switch (s) {
    case geom::Style::Wood: return {{252, 245, 226}, {236, 221, 188}, {150, 118, 78}, 11};
    case geom::Style::Blue: return {{232, 242, 252}, {198, 218, 240}, {70, 100, 150}, 12};
    case geom::Style::Red: return {{254, 236, 234}, {242, 206, 206}, {160, 80, 84}, 13};
    }
    return lookOf(geom::Style::Wood);
}

// Side colours by depth below the face (1 = next to it); the last is the
// dark outer line that separates a stack from what lies under it.
const QColor kSide[geom::kEdgeDepth] = {
    {244, 236, 212}, {236, 224, 194}, {224, 206, 168}, {208, 184, 140}, {184, 156, 110}, {116, 86, 54},
};
// The bottom side faces away from the light.
constexpr double kBottomShade = 0.86;

} // namespace

QImage drawBlank(geom::Style style)
{
    using namespace geom;
    const BlankLook look = lookOf(style);
    QImage img(kCellW, kCellH, QImage::Format_RGB32);
    // Faint fibres running down the face, from seeded noise.
    const ValueNoise grain(look.seed);
    for (int y = 0; y < kCellH; ++y) {
        for (int x = 0; x < kCellW; ++x) {
            const double t = (x / double(kCellW) + y / double(kCellH)) / 2;
            const double fibre = grain.fbm(x * 0.9, y * 0.08, 3) - 0.5;
            img.setPixel(x, y, mix(look.light, look.deep, t + fibre * 0.25).rgb());
        }
    }
    // Bevel: highlight on the top and left, shade on the bottom and right.
    const QColor hi = mix(look.light, Qt::white, 0.7);
    const QColor shade = mix(look.deep, look.rim, 0.35);
    const QColor softShade = mix(look.deep, look.rim, 0.15);
    for (int x = 1; x < kCellW - 1; ++x) {
        img.setPixel(x, 1, hi.rgb());
        img.setPixel(x, kCellH - 2, shade.rgb());
        img.setPixel(x, kCellH - 3, softShade.rgb());
    }
    for (int y = 1; y < kCellH - 1; ++y) {
        img.setPixel(1, y, hi.rgb());
        img.setPixel(kCellW - 2, y, shade.rgb());
        img.setPixel(kCellW - 3, y, softShade.rgb());
    }
    img.setPixel(1, kCellH - 2, mix(hi, shade, 0.5).rgb());
    img.setPixel(kCellW - 2, 1, mix(hi, shade, 0.5).rgb());
    // Rim, with softened corners so the face reads as rounded.
    for (int x = 0; x < kCellW; ++x) {
        img.setPixel(x, 0, look.rim.rgb());
        img.setPixel(x, kCellH - 1, look.rim.rgb());
    }
    for (int y = 0; y < kCellH; ++y) {
        img.setPixel(0, y, look.rim.rgb());
        img.setPixel(kCellW - 1, y, look.rim.rgb());
    }
    const QColor corner = mix(look.rim, look.deep, 0.55);
    for (const QPoint c : {QPoint(1, 1), QPoint(kCellW - 2, 1), QPoint(1, kCellH - 2),
                           QPoint(kCellW - 2, kCellH - 2)})
        img.setPixel(c, mix(look.rim, QColor(img.pixel(c)), 0.5).rgb());
    for (const QPoint c : {QPoint(0, 0), QPoint(kCellW - 1, 0), QPoint(0, kCellH - 1),
                           QPoint(kCellW - 1, kCellH - 1)})
        img.setPixel(c, corner.rgb());
    return img;
}

QImage drawEdgePicture()
{
    using namespace geom;
    QImage img(kEdgeBoxW, kEdgeBoxH, QImage::Format_RGB32);
    img.fill(Qt::black);
    const auto open = [](int x, int y) {
        return x < 0 || y < 0 || x >= kEdgeBoxW || y >= kEdgeBoxH
               || (!inEdgeBand(x, y) && !kEdgeFace.contains(x, y));
    };
    for (int y = 0; y < kEdgeBoxH; ++y) {
        for (int x = 0; x < kEdgeBoxW; ++x) {
            if (!inEdgeBand(x, y))
                continue;
            const int leftDepth = kEdgeDepth - x;
            const int bottomDepth = y - (kCellH - 1);
            const int depth = std::clamp(std::max(leftDepth, bottomDepth), 1, kEdgeDepth);
            QColor c = kSide[depth - 1];
            if (bottomDepth > leftDepth)
                c = mix(Qt::black, c, kBottomShade);
            else if (bottomDepth == leftDepth)
                c = mix(Qt::black, c, (1 + kBottomShade) / 2 - 0.04);
            // The 45-degree ends and the far side get the outer line too.
            if (open(x - 1, y) || open(x, y + 1) || open(x, y - 1) || open(x + 1, y))
                c = kSide[kEdgeDepth - 1];
            img.setPixel(x, y, c.rgb());
        }
    }
    return img;
}

QImage drawEdgeMask()
{
    using namespace geom;
    QImage img(kEdgeBoxW, kEdgeBoxH, QImage::Format_RGB32);
    for (int y = 0; y < kEdgeBoxH; ++y)
        for (int x = 0; x < kEdgeBoxW; ++x)
            img.setPixel(x, y, inEdgeBand(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return img;
}

} // namespace artgen

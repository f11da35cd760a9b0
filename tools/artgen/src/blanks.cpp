#include "blanks.h"

#include "texture.h"

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

struct BlankLook {
    QColor light; // top-left of the face
    QColor deep;  // bottom-right of the face
    QColor rim;   // outer line
    std::uint64_t seed;
};

BlankLook lookOf(geom::Style s) {
    switch (s) {
    case geom::Style::Wood:
        return {{252, 245, 226}, {236, 221, 188}, {150, 118, 78}, 11};
    case geom::Style::Blue:
        return {{232, 242, 252}, {198, 218, 240}, {70, 100, 150}, 12};
    case geom::Style::Red:
        return {{254, 236, 234}, {242, 206, 206}, {160, 80, 84}, 13};
    }
    return lookOf(geom::Style::Wood);
}

// Side colours by depth below the face (1 = next to it); the last is the
// dark outer line that separates a stack from what lies under it.
const QColor kSide[geom::kEdgeDepth] = {
    {244, 236, 212}, {236, 224, 194}, {224, 206, 168},
    {208, 184, 140}, {184, 156, 110}, {116, 86, 54},
};
// The bottom side faces away from the light.
constexpr double kBottomShade = 0.86;

// Sets the scale-1 pixel (x, y), a k x k block at scale k, to what `shade`
// makes of each of its pixels' colour.
template <typename Shade> void shadeBlock(QImage& img, int k, QPoint at, Shade shade) {
    for (int y = at.y() * k; y < (at.y() + 1) * k; ++y)
        for (int x = at.x() * k; x < (at.x() + 1) * k; ++x)
            img.setPixel(x, y, shade(QColor(img.pixel(x, y))).rgb());
}

void setBlock(QImage& img, int k, QPoint at, const QColor& c) {
    shadeBlock(img, k, at, [&c](const QColor&) { return c; });
}

} // namespace

QImage drawBlank(geom::Style style, int scale) {
    using namespace geom;
    const int k = scale;
    const BlankLook look = lookOf(style);
    QImage img(kCellW * k, kCellH * k, QImage::Format_RGB32);
    // Faint fibres running down the face, from seeded noise sampled at each
    // pixel's centre in scale-1 units, so a denser face shows finer fibres.
    const ValueNoise grain(look.seed);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const double u = (x + 0.5) / k - 0.5, v = (y + 0.5) / k - 0.5;
            const double t = (u / double(kCellW) + v / double(kCellH)) / 2;
            const double fibre = grain.fbm(u * 0.9, v * 0.08, 3) - 0.5;
            img.setPixel(x, y, mix(look.light, look.deep, t + fibre * 0.25).rgb());
        }
    }
    // Bevel: highlight on the top and left, shade on the bottom and right;
    // lines one scale-1 pixel wide.
    const QColor hi = mix(look.light, Qt::white, 0.7);
    const QColor shade = mix(look.deep, look.rim, 0.35);
    const QColor softShade = mix(look.deep, look.rim, 0.15);
    for (int x = 1; x < kCellW - 1; ++x) {
        setBlock(img, k, {x, 1}, hi);
        setBlock(img, k, {x, kCellH - 2}, shade);
        setBlock(img, k, {x, kCellH - 3}, softShade);
    }
    for (int y = 1; y < kCellH - 1; ++y) {
        setBlock(img, k, {1, y}, hi);
        setBlock(img, k, {kCellW - 2, y}, shade);
        setBlock(img, k, {kCellW - 3, y}, softShade);
    }
    setBlock(img, k, {1, kCellH - 2}, mix(hi, shade, 0.5));
    setBlock(img, k, {kCellW - 2, 1}, mix(hi, shade, 0.5));
    // Rim, with softened corners so the face reads as rounded.
    for (int x = 0; x < kCellW; ++x) {
        setBlock(img, k, {x, 0}, look.rim);
        setBlock(img, k, {x, kCellH - 1}, look.rim);
    }
    for (int y = 0; y < kCellH; ++y) {
        setBlock(img, k, {0, y}, look.rim);
        setBlock(img, k, {kCellW - 1, y}, look.rim);
    }
    const QColor corner = mix(look.rim, look.deep, 0.55);
    for (const QPoint c : {QPoint(1, 1), QPoint(kCellW - 2, 1), QPoint(1, kCellH - 2),
                           QPoint(kCellW - 2, kCellH - 2)})
        shadeBlock(img, k, c, [&look](const QColor& was) { return mix(look.rim, was, 0.5); });
    for (const QPoint c : {QPoint(0, 0), QPoint(kCellW - 1, 0), QPoint(0, kCellH - 1),
                           QPoint(kCellW - 1, kCellH - 1)})
        setBlock(img, k, c, corner);
    return img;
}

QImage drawEdgePicture(int scale) {
    using namespace geom;
    const int k = scale;
    const int depthMax = kEdgeDepth * k;
    const QRect face = scaled(kEdgeFace, k);
    QImage img(scaled(QSize(kEdgeBoxW, kEdgeBoxH), k), QImage::Format_RGB32);
    img.fill(Qt::black);
    const auto open = [&](int x, int y) {
        return x < 0 || y < 0 || x >= img.width() || y >= img.height() ||
               (!inEdgeBand(x, y, k) && !face.contains(x, y));
    };
    // The outer line is one scale-1 pixel thick.
    const auto nearOpen = [&](int x, int y) {
        for (int d = 1; d <= k; ++d)
            if (open(x - d, y) || open(x, y + d) || open(x, y - d) || open(x + d, y))
                return true;
        return false;
    };
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (!inEdgeBand(x, y, k))
                continue;
            const int leftDepth = depthMax - x;
            const int bottomDepth = y - (kCellH * k - 1);
            const int depth = std::clamp(std::max(leftDepth, bottomDepth), 1, depthMax);
            QColor c = kSide[(depth - 1) / k];
            if (bottomDepth > leftDepth)
                c = mix(Qt::black, c, kBottomShade);
            else if (bottomDepth == leftDepth)
                c = mix(Qt::black, c, (1 + kBottomShade) / 2 - 0.04);
            // The 45-degree ends and the far side get the outer line too.
            if (nearOpen(x, y))
                c = kSide[kEdgeDepth - 1];
            img.setPixel(x, y, c.rgb());
        }
    }
    return img;
}

QImage drawEdgeMask(int scale) {
    using namespace geom;
    QImage img(scaled(QSize(kEdgeBoxW, kEdgeBoxH), scale), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, inEdgeBand(x, y, scale) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return img;
}

} // namespace artgen

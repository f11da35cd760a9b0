#pragma once
// The committed pictures and the layout the game cuts them by, at both pixel
// densities. Every length here is at scale 1; the "@2x" set doubles each one.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <gtest/gtest.h>

namespace assets {

inline constexpr int kScales[] = {1, 2};

inline constexpr int kCellW = 40;
inline constexpr int kCellH = 50;
inline constexpr int kPictures = 42;
inline constexpr int kEdgeDepth = 6;
inline constexpr int kEdgeW = kCellW + kEdgeDepth;
inline constexpr int kEdgeH = kCellH + kEdgeDepth;
inline const QPoint kEdgePicture{0, 250};
inline const QPoint kEdgeMask{46, 250};
inline const QPoint kBlanks[] = {{320, 200}, {280, 200}, {320, 150}}; // Wood, Blue, Red
inline constexpr int kScoreBandX = 704;

// "tilegfx.png" at scale 1, "tilegfx@2x.png" at scale 2.
inline QString fileName(const char* name, int k) {
    const QString base = QLatin1String(name);
    if (k == 1)
        return base;
    return QString(base).replace(QStringLiteral(".png"), QStringLiteral("@%1x.png").arg(k));
}

inline QImage load(const char* name, int k = 1) {
    return QImage(QStringLiteral(MIRELO_ASSETS_DIR "/") + fileName(name, k));
}

inline QImage loadRgb(const char* name, int k = 1) {
    return load(name, k).convertToFormat(QImage::Format_RGB32);
}

// Top-left of picture n (1-based) at scale 1, spelled out cell by cell.
inline QPoint pictureCell(int n) {
    struct Run {
        int first, count, x0, y;
    };
    static const Run runs[] = {
        {1, 9, 0, 100},    // Cracks
        {10, 9, 0, 50},    // Bamboos
        {19, 9, 0, 0},     // Dots
        {28, 4, 0, 200},   // Flowers
        {32, 4, 0, 150},   // Seasons
        {36, 3, 160, 200}, // Dragons
        {39, 4, 160, 150}, // Winds
    };
    for (const Run& r : runs)
        if (n >= r.first && n < r.first + r.count)
            return {r.x0 + (n - r.first) * kCellW, r.y};
    ADD_FAILURE() << "no cell for picture " << n;
    return {};
}

inline QRect cellRect(QPoint at, int k) {
    return {at * k, QSize(kCellW, kCellH) * k};
}

inline bool isBlack(QRgb c) {
    return (c & 0xffffff) == 0;
}
inline bool isWhite(QRgb c) {
    return (c & 0xffffff) == 0xffffff;
}
inline int luma(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

} // namespace assets

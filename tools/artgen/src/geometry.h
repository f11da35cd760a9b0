#pragma once
// Every size and position the game relies on when it cuts up the artwork.
// The game reads these pictures by fixed coordinates, so they live here
// and nowhere else. Each picture is also drawn at twice the pixel density,
// for screens that need it: lengths here are at scale 1 and every one of them
// doubles there, so the game cuts both sets by the same rules.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>

namespace artgen::geom {

// The pixel densities every picture is drawn at.
inline constexpr int kScales[] = {1, 2};

constexpr QPoint scaled(QPoint p, int k) {
    return p * k;
}
constexpr QSize scaled(QSize s, int k) {
    return s * k;
}
constexpr QRect scaled(QRect r, int k) {
    return {r.topLeft() * k, r.size() * k};
}

// Tile sheet: a 9 x 5 grid of 40 x 50 cells, then the edge strip below it.
inline constexpr int kCellW = 40;
inline constexpr int kCellH = 50;
inline constexpr int kGridCols = 9;
inline constexpr int kGridRows = 5;
inline constexpr int kSheetW = kGridCols * kCellW; // 360
inline constexpr int kGridH = kGridRows * kCellH;  // 250
inline constexpr int kSheetH = 306;
inline constexpr QSize kTileSheetSize{kSheetW, kSheetH};
inline constexpr QSize kMaskSheetSize{kSheetW, kGridH};

inline constexpr int kPictureCount = 42;

// Blank space kept inside each picture cell so the blank's border shows.
inline constexpr int kSymbolMargin = 3;
inline constexpr QRect kSymbolArea{kSymbolMargin, kSymbolMargin, kCellW - 2 * kSymbolMargin,
                                   kCellH - 2 * kSymbolMargin};

// Picture families, by their 1-based picture numbers.
inline constexpr int kFirstCrack = 1;
inline constexpr int kFirstBamboo = 10;
inline constexpr int kFirstDot = 19;
inline constexpr int kFirstFlower = 28;
inline constexpr int kFirstSeason = 32;
inline constexpr int kFirstDragon = 36;
inline constexpr int kFirstWind = 39;

// Top-left corner of picture n (1..42) in the tile sheet.
constexpr QPoint pictureCell(int n) {
    if (n >= kFirstWind)
        return {(4 + n - kFirstWind) * kCellW, 3 * kCellH};
    if (n >= kFirstDragon)
        return {(4 + n - kFirstDragon) * kCellW, 4 * kCellH};
    if (n >= kFirstSeason)
        return {(n - kFirstSeason) * kCellW, 3 * kCellH};
    if (n >= kFirstFlower)
        return {(n - kFirstFlower) * kCellW, 4 * kCellH};
    if (n >= kFirstDot)
        return {(n - kFirstDot) * kCellW, 0};
    if (n >= kFirstBamboo)
        return {(n - kFirstBamboo) * kCellW, kCellH};
    return {(n - kFirstCrack) * kCellW, 2 * kCellH};
}

// Blank faces, one per tile style; the order is the game's style order.
enum class Style { Wood = 0, Blue = 1, Red = 2 };
inline constexpr int kStyleCount = 3;
inline constexpr QPoint kWoodBlank{320, 200};
inline constexpr QPoint kBlueBlank{280, 200};
inline constexpr QPoint kRedBlank{320, 150};

constexpr QPoint blankCell(Style s) {
    switch (s) {
    case Style::Wood:
        return kWoodBlank;
    case Style::Blue:
        return kBlueBlank;
    case Style::Red:
        return kRedBlank;
    }
    return kWoodBlank;
}

// Edge strip: the visible side of a stacked tile, drawn down-left of the face.
inline constexpr int kEdgeDepth = 6;
inline constexpr int kEdgeBoxW = kCellW + kEdgeDepth; // 46
inline constexpr int kEdgeBoxH = kCellH + kEdgeDepth; // 56
inline constexpr QPoint kEdgePicture{0, kGridH};
inline constexpr QPoint kEdgeMask{kEdgeBoxW, kGridH};
// Where the face sits inside the edge box.
inline constexpr QRect kEdgeFace{kEdgeDepth, 0, kCellW, kCellH};

// Pixel (x, y) of the edge box at scale k belongs to the band when it lies
// outside the face but within the face swept up to kEdgeDepth * k pixels
// down-left.
constexpr bool inEdgeBand(int x, int y, int k = 1) {
    const int depth = kEdgeDepth * k, w = kCellW * k, h = kCellH * k;
    if (x >= depth && x < depth + w && y >= 0 && y < h)
        return false; // the face itself
    const int lo = std::max({depth - x, y - (h - 1), 0});
    const int hi = std::min({depth + w - 1 - x, y, depth});
    return lo <= hi;
}

// Backgrounds and their high-score band.
inline constexpr QSize kBackgroundSize{800, 468};
inline constexpr int kScoreBandX = 704;
inline constexpr QRect kBoardArea{QPoint(36, 25), QPoint(663, 452)};

// How the game stacks tiles: one level up moves right and up by this much.
inline constexpr int kLevelShift = 6;

inline constexpr QSize kLogoSize{253, 128};
inline constexpr QSize kIconSize{32, 32};
inline constexpr QSize kLargeIconSize{128, 128};
inline constexpr QSize kPointerSize{32, 32};
inline constexpr QPoint kHandHotSpot{5, 0};
inline constexpr QSize kToolIconSize{16, 16};

} // namespace artgen::geom

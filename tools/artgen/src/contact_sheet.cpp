#include "contact_sheet.h"

#include "compose.h"
#include "fonts.h"
#include "geometry.h"
#include "texture.h"

#include <QPainter>
#include <algorithm>
#include <tuple>
#include <vector>

namespace artgen {
namespace {

using geom::Style;

constexpr int kSheetW = 840;
constexpr int kSheetH = 1800;
constexpr int kMargin = 14;
constexpr int kLabelH = 18;
const QColor kSheetColor{44, 48, 54};
const QColor kLabelColor{226, 226, 214};
const char* const kStyleNames[] = {"Wood", "Blue", "Red"};

// Tile rows per style: each suit with the honours or bonus tiles that follow.
const std::vector<std::vector<int>> kRows = {
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 39, 40, 41, 42},
    {10, 11, 12, 13, 14, 15, 16, 17, 18, 36, 37, 38},
    {19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35},
};

struct Placed {
    int gx, gy, level, picture;
    Style style;
};

// The sheet is laid out in scale-1 pixels; `k` turns them into the sheet's
// own, so the denser sheet shows the same page with every picture sharper.
void label(QPainter& p, const Fonts& fonts, QPoint at, const QString& text, int k) {
    QFont f(fonts.label);
    f.setPixelSize(12 * k);
    p.setFont(f);
    p.setPen(kLabelColor);
    p.drawText((at + QPoint(0, 12)) * k, text);
}

// A row of tiles whose faces touch, drawn right to left as the game does.
void tileRow(QPainter& p, const TileComposer& tiles, QPoint at, const std::vector<int>& pics,
             const std::vector<Style>& styles) {
    const int k = tiles.scale();
    for (int i = static_cast<int>(pics.size()) - 1; i >= 0; --i)
        tiles.drawTile(p, (at + QPoint(geom::kEdgeDepth + i * geom::kCellW, 0)) * k, pics[i],
                       styles[i]);
}

int drawStyleBlocks(QPainter& p, const SheetInputs& in, int y) {
    for (int s = 0; s < geom::kStyleCount; ++s) {
        label(p, in.fonts, {kMargin, y},
              QStringLiteral("%1 style").arg(QLatin1String(kStyleNames[s])), in.tiles.scale());
        y += kLabelH;
        // Rows top-down, so each row's face covers the band of the row above.
        for (const auto& row : kRows) {
            tileRow(p, in.tiles, {kMargin, y}, row, std::vector<Style>(row.size(), Style(s)));
            y += geom::kCellH;
        }
        y += geom::kEdgeDepth + 10;
    }
    return y;
}

int drawSelectionLooks(QPainter& p, const SheetInputs& in, int y) {
    label(p, in.fonts, {kMargin, y}, QStringLiteral("Normal / picked / hinted, for each style"),
          in.tiles.scale());
    y += kLabelH;
    int x = kMargin;
    for (int s = 0; s < geom::kStyleCount; ++s) {
        const Style st(static_cast<Style>(s));
        const Style picked = TileComposer::pickedStyle(st);
        const Style hinted = TileComposer::hintedStyle(st);
        tileRow(p, in.tiles, {x, y}, {5, 5, 5, 37, 37, 37},
                {st, picked, hinted, st, picked, hinted});
        x += 6 * geom::kCellW + 30;
    }
    return y + geom::kCellH + geom::kEdgeDepth + 12;
}

// A small stacked layout in the board area, drawn in the game's order:
// levels bottom up, columns right to left, rows top down.
std::vector<Placed> sampleLayout(Style style, std::uint64_t seed) {
    std::vector<Placed> tiles;
    Rng rng(seed);
    const auto add = [&](int gx, int gy, int level) {
        tiles.push_back({gx, gy, level, 1 + rng.below(geom::kPictureCount), style});
    };
    const int levels[][4] = {{4, 3, 10, 6}, {6, 5, 8, 4}, {8, 7, 6, 2}, {12, 8, 2, 1}};
    for (int l = 0; l < 4; ++l) {
        const auto [gx0, gy0, cols, rows] =
            std::tuple(levels[l][0], levels[l][1], levels[l][2], levels[l][3]);
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < rows; ++r)
                add(gx0 + 2 * c, gy0 + 2 * r, l);
    }
    // Wing tiles half a row down, as at the ends of a classic layout.
    add(2, 8, 0);
    add(24, 8, 0);
    add(26, 8, 0);
    tiles[tiles.size() - 4].style = TileComposer::pickedStyle(style);
    tiles[tiles.size() - 6].style = TileComposer::hintedStyle(style);
    std::stable_sort(tiles.begin(), tiles.end(), [](const Placed& a, const Placed& b) {
        if (a.level != b.level)
            return a.level < b.level;
        if (a.gx != b.gx)
            return a.gx > b.gx;
        return a.gy < b.gy;
    });
    return tiles;
}

void scoreSample(QPainter& p, QPoint band, int k) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11 * k);
    p.setFont(f);
    const struct {
        QColor color;
        const char* text;
    } lines[] = {{Qt::yellow, "Best times"}, {Qt::white, "1  Ada"}, {Qt::cyan, "   4:52"},
                 {Qt::white, "2  Lin"},      {Qt::cyan, "   5:07"}, {Qt::white, "3  Mo"},
                 {Qt::cyan, "   6:31"}};
    int y = band.y() + 30;
    for (const auto& l : lines) {
        p.setPen(l.color);
        p.drawText(QPoint(band.x() + 12, y) * k, QLatin1String(l.text));
        y += 15;
    }
}

int drawBoard(QPainter& p, const SheetInputs& in, const QImage& bg, Style style,
              const QString& caption, std::uint64_t seed, int y) {
    const int k = in.tiles.scale();
    label(p, in.fonts, {kMargin, y}, caption, k);
    y += kLabelH;
    const QPoint origin(kMargin, y);
    p.drawImage(origin * k, bg);
    const QPoint board = origin + geom::kBoardArea.topLeft();
    for (const Placed& t : sampleLayout(style, seed)) {
        const QPoint face = board + QPoint(t.gx * geom::kCellW / 2 + t.level * geom::kLevelShift,
                                           t.gy * geom::kCellH / 2 - t.level * geom::kLevelShift);
        in.tiles.drawTile(p, face * k, t.picture, t.style);
    }
    scoreSample(p, origin + QPoint(geom::kScoreBandX, 0), k);
    return y + geom::kBackgroundSize.height() + 12;
}

// Shows img enlarged `zoom` times on a checkerboard, at scale-1 position at.
void drawOnChecker(QPainter& p, QPoint at, const QImage& img, int zoom, int k) {
    const QSize size = img.size() * zoom;
    const int square = 8 * k;
    at *= k;
    for (int y = 0; y < size.height(); y += square)
        for (int x = 0; x < size.width(); x += square)
            p.fillRect(QRect(at + QPoint(x, y), QSize(square, square)),
                       ((x + y) / square) % 2 ? QColor(170, 170, 170) : QColor(110, 110, 110));
    p.drawImage(QRect(at, size), img);
}

int drawOtherAssets(QPainter& p, const SheetInputs& in, int y) {
    const int k = in.tiles.scale();
    label(p, in.fonts, {kMargin, y},
          QStringLiteral("Logo, icons (32, 128), pointers (x3), new-game buttons (x4)"), k);
    y += kLabelH;
    int x = kMargin;
    p.drawImage(QPoint(x, y) * k, in.logo);
    x += in.logo.width() / k + 16;
    drawOnChecker(p, {x, y}, in.icon, 1, k);
    x += in.icon.width() / k + 10;
    drawOnChecker(p, {x, y}, in.largeIcon, 1, k);
    x += in.largeIcon.width() / k + 16;
    for (const QImage* img : {&in.techno, &in.hand}) {
        drawOnChecker(p, {x, y}, *img, 3, k);
        x += img->width() / k * 3 + 10;
    }
    for (const QImage* img : {&in.newGame, &in.newGameDisabled}) {
        drawOnChecker(p, {x, y}, *img, 4, k);
        x += img->width() / k * 4 + 8;
    }
    return y + in.logo.height() / k + 12;
}

} // namespace

QImage drawContactSheet(const SheetInputs& in) {
    const int k = in.tiles.scale();
    QImage sheet(kSheetW * k, kSheetH * k, QImage::Format_RGB32);
    sheet.fill(kSheetColor);
    QPainter p(&sheet);
    int y = kMargin;
    const QString title = k == 1 ? QStringLiteral("Mirelo artwork")
                                 : QStringLiteral("Mirelo artwork at scale %1").arg(k);
    const QString how =
        QStringLiteral(": blank copied, mask ANDed, picture ORed, edge band at face - %1 px");
    label(p, in.fonts, {kMargin, y}, title + how.arg(geom::kEdgeDepth * k), k);
    y += kLabelH + 4;
    y = drawStyleBlocks(p, in, y);
    y = drawSelectionLooks(p, in, y);
    y = drawBoard(p, in, in.kanji, Style::Wood, QStringLiteral("Kanji background, Wood tiles"), 7,
                  y);
    y = drawBoard(p, in, in.dragons, Style::Blue, QStringLiteral("Dragons background, Blue tiles"),
                  8, y);
    y = drawOtherAssets(p, in, y);
    p.end();
    return sheet.copy(0, 0, kSheetW * k, (y + kMargin) * k);
}

} // namespace artgen

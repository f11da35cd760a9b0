#include "ExpectedBoard.h"

#include "Geometry.h"
#include "LayoutTemplate.h"
#include "XSession.h"

#include <limits>

namespace mirelo::test {

using namespace geometry;

ExpectedBoard::ExpectedBoard(std::uint32_t seed, int wideScreen, int scale)
    : sheet(scale),
      background(LoadPicture("dragons.png", BackgroundWidth, BackgroundHeight, scale)) {
    // A fresh settings folder: Wood tiles on the Dragons background.
    game.BeginGame(LayoutTraditional, seed, 0);
    renderer.WideScreen = wideScreen;
    renderer.SetScale(scale);
    sheet.ChangeTexture(StyleWood);
    renderer.PaintBackground(background);
    Draw();
}

void ExpectedBoard::Draw() {
    const GameState& s = game.State;
    renderer.Dirty = DirtyRect::FullRect();
    renderer.ComposeBoard(game.Grid, background, sheet,
                          {s.FirstPick, s.SecondPick, s.HintFirst, s.HintSecond, 0});
}

void ExpectedBoard::Pick(std::uint8_t tile) {
    NullBoardView view;
    game.Pick(tile, view);
    Draw();
}

QPoint ExpectedBoard::ClickPoint(std::uint8_t tile) const {
    if (tile == 0 || game.Places[tile].Z == 0)
        return {-1, -1};
    const QPoint origin(BoardOriginX * renderer.WideScreen, BoardOriginY * renderer.WideScreen);
    // The program reads the hit map at the pointer's board point, and only inside
    // the click area.
    const auto hits = [&](QPoint buffer) {
        const QPoint p = buffer - origin;
        return p.x() >= 0 && p.y() >= 0 && p.x() < ClickAreaWidth && p.y() < ClickAreaHeight &&
               renderer.TileAt(p.x(), p.y()) == tile;
    };
    // A few pixels of margin: a point a little off still lands on the tile.
    constexpr int Margin = 4;
    const QRect face(renderer.FaceOrigin(game.Places[tile]), QSize(TileWidth, TileHeight));
    const QPoint middle = face.center();
    QPoint best(-1, -1);
    int bestDistance = std::numeric_limits<int>::max();
    for (int y = face.top(); y <= face.bottom(); ++y)
        for (int x = face.left(); x <= face.right(); ++x) {
            const QPoint p(x, y);
            const int distance = (p - middle).manhattanLength();
            if (distance >= bestDistance || !hits(p))
                continue;
            if (hits(p + QPoint(-Margin, -Margin)) && hits(p + QPoint(Margin, -Margin)) &&
                hits(p + QPoint(-Margin, Margin)) && hits(p + QPoint(Margin, Margin))) {
                best = p;
                bestDistance = distance;
            }
        }
    return best;
}

int DifferentPixels(const QImage& screen, QRect onScreen, const QImage& picture, QRect inPicture) {
    if (onScreen.size() != inPicture.size() || !screen.rect().contains(onScreen) ||
        !picture.rect().contains(inPicture))
        return -1;
    int n = 0;
    for (int y = 0; y < onScreen.height(); ++y)
        for (int x = 0; x < onScreen.width(); ++x)
            n += (screen.pixel(onScreen.left() + x, onScreen.top() + y) & 0xFFFFFF) !=
                 (picture.pixel(inPicture.left() + x, inPicture.top() + y) & 0xFFFFFF);
    return n;
}

int FindBufferRow(const QImage& screen, int left, const QImage& buffer, int width, int height) {
    const QRect part(0, 0, width, height);
    for (int row = 0; row + height <= screen.height(); ++row) {
        // Row 0 alone first: cheap, and it rules out almost every candidate.
        if (DifferentPixels(screen, QRect(left, row, width, 1), buffer, QRect(0, 0, width, 1)) != 0)
            continue;
        if (DifferentPixels(screen, part.translated(left, row), buffer, part) == 0)
            return row;
    }
    return -1;
}

int RemovePairOnScreen(XSession& x, ExpectedBoard& expected, std::uint8_t a, std::uint8_t b,
                       int top, QRect board, int scale, QImage& after) {
    for (const std::uint8_t tile : {a, b}) {
        const QPoint p = expected.ClickPoint(tile) * scale;
        if (!x.Click(p.x(), top + p.y()))
            return -2;
    }
    if (!x.Xdotool({QStringLiteral("mousemove"), QString::number(41 * scale),
                    QString::number(top + 30 * scale)}))
        return -2;
    expected.Pick(a);
    expected.Pick(b);
    int differing = -1;
    PollUntil(
        [&] {
            after = x.Screenshot();
            differing =
                DifferentPixels(after, board.translated(0, top), expected.renderer.Buffer, board);
            return differing == 0;
        },
        5000);
    return differing;
}

} // namespace mirelo::test

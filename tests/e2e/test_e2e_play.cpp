// The real programs on a real X server: deal a seeded game, take a pair with
// two mouse clicks, and close with Ctrl+C.
#include "XSession.h"

#include "BoardRenderer.h"
#include "Game.h"
#include "LayoutTemplate.h"
#include "TileSheet.h"
#include "Tiles.h"

#include <QGuiApplication>
#include <QThread>

#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

// How many pixels of two same-sized pictures differ, for readable failures.
int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

constexpr std::uint32_t Seed = 4242;

// The deal the program makes with the same seed, drawn the way it draws it.
struct Expected {
    Game game;
    TileSheet sheet;
    BoardRenderer renderer;
    QImage background = LoadPicture("dragons.png", 800, 468);

    Expected() {
        game.BeginGame(LayoutTraditional, Seed, 0);
        sheet.ChangeTexture(StyleWood);
        Draw();
    }
    void Draw() {
        renderer.PaintBackground(background);
        renderer.ComposeBoard(game.Grid, background, sheet, {});
    }
    // A board point of `tile` that no other tile covers.
    QPoint VisiblePoint(int tile) const {
        const QRect box = renderer.TileBox(game.Places[tile]).translated(-36, -25);
        for (int y = box.top() + 6; y < box.bottom() - 6; ++y)
            for (int x = box.left() + 10; x < box.right() - 4; ++x)
                if (renderer.TileAt(x, y) == tile)
                    return {x, y};
        return {-1, -1};
    }
};

std::string ProgramPath(const char* name) { return std::string(MIRELO_APP_DIR) + "/" + name; }

class EndToEnd : public ::testing::TestWithParam<const char*> {};

TEST_P(EndToEnd, ClickingAMatchingFreePairTakesItOffTheScreen) {
    Expected expected;
    std::uint8_t a = 0, b = 0;
    for (int i = 1; i <= 144 && !b; ++i)
        for (int j = i + 1; j <= 144 && !b; ++j)
            if (TileFace(i) == TileFace(j) && expected.game.IsFree(i) && expected.game.IsFree(j) &&
                expected.VisiblePoint(i).x() >= 0 && expected.VisiblePoint(j).x() >= 0) {
                a = static_cast<std::uint8_t>(i);
                b = static_cast<std::uint8_t>(j);
            }
    ASSERT_NE(b, 0) << "the seeded deal has no visible free pair";

    XSession x(800, 600);
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    ASSERT_TRUE(x.Start(QString::fromStdString(ProgramPath(GetParam())),
                        {QStringLiteral("MIRELO_SEED=%1").arg(Seed)}));

    QImage before = x.Screenshot();
    ASSERT_FALSE(before.isNull());
    // Where the window shows Buffer row 0: match a column of the background
    // right of the board, which no tile covers.
    const int top = FindPictureRow(before, expected.renderer.Buffer, 690);
    ASSERT_GE(top, 0) << "the board picture is not on the screen";
    const QRect boardOnScreen(0, top, 700, 468);
    EXPECT_EQ(DifferentPixels(before.copy(0, top, 700, 468), expected.renderer.Buffer.copy(0, 0, 700, 468)), 0)
        << "the dealt board differs from the seeded deal; board at screen row " << top;

    for (std::uint8_t tile : {a, b}) {
        const QPoint p = expected.VisiblePoint(tile);
        ASSERT_TRUE(x.Click(p.x() + 36, top + p.y() + 25));
    }
    // The pointer's highlight rectangle stays until it moves: move it off the tiles.
    ASSERT_TRUE(x.Xdotool({QStringLiteral("mousemove"), QStringLiteral("41"), QString::number(top + 30)}));
    QThread::msleep(200);
    QImage after = x.Screenshot();
    for (std::uint8_t tile : {a, b}) {
        const TilePlace place = expected.game.Places[tile];
        expected.game.Grid.Set(place.X, place.Y, place.Z, 0);
        expected.game.Places[tile] = {};
    }
    expected.Draw();
    EXPECT_EQ(DifferentPixels(after.copy(0, top, 700, 468), expected.renderer.Buffer.copy(0, 0, 700, 468)), 0)
        << "the screen does not show the board without the pair";
    EXPECT_GT(DifferentPixels(after.copy(boardOnScreen), before.copy(boardOnScreen)), 1000);

    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(10000), 0);
}

INSTANTIATE_TEST_SUITE_P(BothEditions, EndToEnd, ::testing::Values("mirelo", "mirelo_silent"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
} // namespace mirelo::test


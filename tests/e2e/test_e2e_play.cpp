// The real programs on a real X server: deal a seeded game, take a pair with
// two mouse clicks, and close with Ctrl+C.
#include "ExpectedBoard.h"
#include "Tiles.h"
#include "XSession.h"

#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

constexpr std::uint32_t Seed = 4242;

class EndToEnd : public ::testing::TestWithParam<const char*> {};

TEST_P(EndToEnd, ClickingAMatchingFreePairTakesItOffTheScreen) {
    ExpectedBoard expected(Seed, 1);
    std::uint8_t a = 0, b = 0;
    for (int i = 1; i <= 144 && !b; ++i)
        for (int j = i + 1; j <= 144 && !b; ++j)
            if (TileFace(i) == TileFace(j) && expected.game.IsFree(i) && expected.game.IsFree(j) &&
                expected.ClickPoint(static_cast<std::uint8_t>(i)).x() >= 0 &&
                expected.ClickPoint(static_cast<std::uint8_t>(j)).x() >= 0) {
                a = static_cast<std::uint8_t>(i);
                b = static_cast<std::uint8_t>(j);
            }
    ASSERT_NE(b, 0) << "the seeded deal has no visible free pair";

    XSession x(800, 600);
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    ASSERT_TRUE(x.Start(GameProgram(GetParam()), {QStringLiteral("MIRELO_SEED=%1").arg(Seed)}));

    QImage before = x.Screenshot();
    ASSERT_FALSE(before.isNull());
    // Where the window shows Buffer row 0: match a column of the background
    // right of the board, which no tile covers.
    const int top = FindPictureRow(before, expected.renderer.Buffer, 690);
    ASSERT_GE(top, 0) << "the board picture is not on the screen";
    const QRect board(0, 0, 700, 468);
    EXPECT_EQ(DifferentPixels(before, board.translated(0, top), expected.renderer.Buffer, board), 0)
        << "the dealt board differs from the seeded deal; board at screen row " << top;

    QImage after;
    EXPECT_EQ(RemovePairOnScreen(x, expected, a, b, top, board, 1, after), 0)
        << "the screen does not show the board without the pair (pixels that differ)";
    EXPECT_GT(DifferentPixels(after, board.translated(0, top), before, board.translated(0, top)),
              1000);

    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(10000), 0);
}

INSTANTIATE_TEST_SUITE_P(BothEditions, EndToEnd, ::testing::Values("mirelo", "mirelo_silent"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
} // namespace mirelo::test

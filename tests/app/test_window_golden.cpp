// The whole window, pixel for pixel, against reference pictures
// (tests/app/reference/window_*.png): every style, both backgrounds, the marks
// and highlights, the Hall of Fame strip and the small-screen window. They pin
// the ordinary screen's picture exactly while the drawing code changes
// underneath it.
#include "Geometry.h"
#include "LayoutTemplate.h"
#include "ReferencePicture.h"
#include "Tiles.h"
#include "WindowFixture.h"
#include "WindowSurface.h"

#include <QApplication>
#include <QCursor>

namespace mirelo::test {
namespace {

using namespace geometry;

struct GoldenCase {
    const char* Name;
    int Style;
    int Background;
    Highlight Mode;
    int ScreenWidth;
};

class GoldenWindow : public WindowTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(GoldenWindow, MatchesItsReferencePicture) {
    const GoldenCase& c = GetParam();
    Options options;
    options.TileStyle = c.Style;
    options.Background = c.Background;
    options.HighlightMode = c.Mode;
    Make(options, false, c.ScreenWidth);
    probe().Hall.AddHall(LayoutTraditional, "Golden", 100, 40);

    // A pick and a hint on the board, then the pointer on a tile of the bottom row.
    Game& game = probe().game;
    std::uint8_t first = 0;
    for (int t = 1; t <= TileCount && !first; ++t)
        if (game.IsFree(t))
            first = static_cast<std::uint8_t>(t);
    ASSERT_NE(first, 0);
    game.Pick(first, *window);
    window->Hint();
    ASSERT_NE(game.State.HintFirst, 0);
    QCursor::setPos(
        probe().Surface->mapToGlobal(ClientPoint(FaceLeft(5, 1) + 20, FaceTop(17, 1) + 25)));
    window->FormMouseMove();
    if (c.Mode != Highlight::None) {
        ASSERT_EQ(probe().HoverTile, game.Grid.At(5, 17, 1));
    }
    // The status panels as the heartbeat leaves them, whether or not it ran yet.
    window->Temps();
    QApplication::processEvents();

    EXPECT_TRUE(MatchesReference(window->grab().toImage(), c.Name));
}

INSTANTIATE_TEST_SUITE_P(
    EveryStyleAndBackground, GoldenWindow,
    ::testing::Values(
        GoldenCase{"window_wood_kanji_rectangle", StyleWood, 0, Highlight::Rectangle, 800},
        GoldenCase{"window_blue_dragons_colour", StyleBlue, 1, Highlight::Color, 800},
        GoldenCase{"window_red_kanji_none", StyleRed, 0, Highlight::None, 800},
        GoldenCase{"window_wood_dragons_small_screen", StyleWood, 1, Highlight::Rectangle, 640}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.Name); });

} // namespace
} // namespace mirelo::test

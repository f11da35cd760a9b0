// A fresh start on the two screen sizes the window knows: the 640 x 480 screen
// gets the small window without the toolbar, a wider one the toolbar and the
// Hall of Fame strip. Read back through screenshots and window geometry.
#include "ExpectedBoard.h"
#include "Geometry.h"
#include "XSession.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

using namespace geometry;

constexpr std::uint32_t Seed = 4242;

struct ScreenCase {
    const char* Name;
    int Width;
    int Height;
    int Wide;
};

void PrintTo(const ScreenCase& screenCase, std::ostream* os) {
    *os << screenCase.Name;
}

// The darkest pixel of `image` in `area`, as a grey level.
int Darkest(const QImage& image, QRect area) {
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

// Whether the check box in `cell` of a menu holds a tick: a mark darker than
// the box's light inside, checked or greyed alike.
bool Ticked(const QImage& menu, QRect cell) {
    QRect box;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (qGray(menu.pixel(x, y)) < 215)
                box |= QRect(x, y, 1, 1);
    return !box.isEmpty() && Darkest(menu, box.adjusted(2, 2, -2, -2)) < 200;
}

// The menu windows of the game, with where they lie.
QList<QRect> MenuWindows(XSession& x, QStringList* ids = nullptr) {
    QList<QRect> found;
    for (const QString& window : x.GameWindows())
        if (window != x.WindowId()) {
            found << x.WindowGeometry(window);
            if (ids)
                *ids << window;
        }
    return found;
}

// The Options menu as it shows, opened from the keyboard: a null image when it
// did not open. It has no mnemonic, so Background is opened and left for it.
QImage OptionsMenu(XSession& x) {
    QList<QRect> menus;
    if (!x.Key(QStringLiteral("alt+b")) ||
        !PollUntil([&] { return (menus = MenuWindows(x)).size() == 1; }, 5000))
        return {};
    const int backgroundLeft = menus.first().left();
    QStringList ids;
    if (!x.Key(QStringLiteral("Left")) || !PollUntil(
                                              [&] {
                                                  ids.clear();
                                                  menus = MenuWindows(x, &ids);
                                                  return menus.size() == 1 &&
                                                         menus.first().left() < backgroundLeft;
                                              },
                                              5000))
        return {};
    // Mapped is not yet painted: wait for two looks alike, mostly the light menu colour.
    const auto mostlyLight = [](const QImage& image) {
        int light = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                light += qGray(image.pixel(x, y)) > 200;
        return light > image.width() * image.height() / 2;
    };
    QImage shot, previous;
    const bool painted = PollUntil(
        [&] {
            previous = shot;
            shot = x.Screenshot(ids.first());
            return !shot.isNull() && shot == previous && mostlyLight(shot);
        },
        5000, 100);
    return painted ? shot : QImage();
}

class FreshStart : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(FreshStart, ShowsTheDealTheStatusLineAndTheToolbarAsTheScreenAllows) {
    const ScreenCase& screenCase = GetParam();
    const bool wide = screenCase.Wide == 1;
    XSession x(screenCase.Width, screenCase.Height);
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    ASSERT_TRUE(x.Start(GameProgram("mirelo"), {QStringLiteral("MIRELO_SEED=%1").arg(Seed)}));

    // The board picture as far as it shows: the small window cuts it below the
    // board, the wide one shows it whole, the Hall of Fame written over its right.
    ExpectedBoard expected(Seed, screenCase.Wide);
    const QSize shown =
        wide ? QSize(704, BackgroundHeight) : QSize(NarrowClientWidth, NarrowBoardHeight);
    const QRect window = x.WindowGeometry(x.WindowId());
    QImage screen;
    int top = -1;
    ASSERT_TRUE(PollUntil(
        [&] {
            screen = x.Screenshot();
            top = FindBufferRow(screen, window.left(), expected.renderer.Buffer, shown.width(),
                                shown.height());
            return top >= 0;
        },
        10000))
        << "the seeded deal is not on the screen";

    // Every tile shows where the deal put it: where the hit map has a tile on
    // top, its face differs from the background it covers.
    const QPoint buffer0(window.left(), top);
    const QPoint boardOrigin(BoardOriginX * screenCase.Wide, BoardOriginY * screenCase.Wide);
    int tilesSeen = 0;
    for (int tile = 1; tile <= 144; ++tile) {
        const QRect face(expected.renderer.FaceOrigin(expected.game.Places[tile]),
                         QSize(TileWidth, TileHeight));
        int onTop = 0, differ = 0;
        for (int by = face.top(); by <= face.bottom(); ++by)
            for (int bx = face.left(); bx <= face.right(); ++bx) {
                const QPoint board = QPoint(bx, by) - boardOrigin;
                if (expected.renderer.TileAt(board.x(), board.y()) != tile || by >= shown.height())
                    continue;
                ++onTop;
                differ += (screen.pixel(QPoint(bx, by) + buffer0) & 0xFFFFFF) !=
                          (expected.background.pixel(bx, by) & 0xFFFFFF);
            }
        if (onTop > 0) {
            ++tilesSeen;
            EXPECT_GT(differ, onTop / 2) << "tile " << tile << " does not show over the background";
        }
    }
    // Most tiles show some of their face; the rest lie wholly under others.
    EXPECT_GT(tilesSeen, 72) << "too few tiles show";

    // The window: as wide as the screen allows, whole on the screen.
    EXPECT_EQ(window.topLeft(), QPoint(0, 0));
    EXPECT_EQ(window.width(), wide ? WideClientWidth : NarrowClientWidth);
    EXPECT_LE(window.bottom() + 1, screenCase.Height) << "the window runs off the screen";
    // Above the board only the menu bar, and on the wide screen the toolbar row.
    const int menuBar = top - window.top() - (wide ? ToolbarRowHeight : 0);
    EXPECT_GT(menuBar, 0);
    EXPECT_LT(menuBar, ToolbarRowHeight) << "rows above the board: " << top - window.top();
    // The status line right under the board ends the window, and its clock runs.
    const QRect statusLine(window.left(), top + shown.height(), window.width(), StatusBarHeight);
    EXPECT_EQ(statusLine.bottom(), window.bottom());
    const QImage statusBefore = screen.copy(statusLine);
    EXPECT_TRUE(
        PollUntil([&] { return x.Screenshot().copy(statusLine) != statusBefore; }, 5000, 200))
        << "the status line does not tick";

    // Options: "Show Toolbar" is checked and enabled like "Show Moves" on the
    // wide screen, unchecked and greyed on the small one. The menu's six rows
    // share its height; the check column lies left of the text.
    const QImage menu = OptionsMenu(x);
    ASSERT_FALSE(menu.isNull()) << "the Options menu did not open";
    const int row = menu.height() / 6, checkColumn = 24;
    const QRect movesRow(2, 2 * row + 2, menu.width() - 4, row - 4),
        toolbarRow = movesRow.translated(0, row);
    const QRect movesText = movesRow.adjusted(checkColumn, 0, 0, 0),
                toolbarText = toolbarRow.adjusted(checkColumn, 0, 0, 0);
    const QRect movesCheck(movesRow.topLeft(), QSize(checkColumn - 2, movesRow.height()));
    const QRect toolbarCheck = movesCheck.translated(0, row);
    EXPECT_LT(Darkest(menu, movesText), 80) << "Show Moves is not drawn enabled";
    EXPECT_TRUE(Ticked(menu, movesCheck)) << "Show Moves is not checked";
    if (wide) {
        EXPECT_TRUE(Ticked(menu, toolbarCheck)) << "Show Toolbar is not checked";
        EXPECT_LT(Darkest(menu, toolbarText), 80) << "Show Toolbar is greyed";
    } else {
        EXPECT_FALSE(Ticked(menu, toolbarCheck)) << "Show Toolbar is checked";
        // Greyed, yet there.
        EXPECT_GT(Darkest(menu, toolbarText), 150) << "Show Toolbar is not greyed";
        EXPECT_LT(Darkest(menu, toolbarText), 230) << "Show Toolbar has no text";
    }
    ASSERT_TRUE(x.Key(QStringLiteral("Escape")));
    ASSERT_TRUE(PollUntil([&] { return MenuWindows(x).isEmpty(); }, 5000))
        << "the menu did not close";

    // Its shortcut hides the toolbar row on the wide screen, window and board
    // moving up together; on the small screen it does nothing.
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+t")));
    const auto boardAt = [&](int screenRow) {
        return FindBufferRow(x.Screenshot(), window.left(), expected.renderer.Buffer, shown.width(),
                             shown.height()) == screenRow;
    };
    if (wide) {
        EXPECT_TRUE(PollUntil([&] { return boardAt(top - ToolbarRowHeight); }, 5000))
            << "the board did not move up to where the toolbar was";
        EXPECT_EQ(x.WindowGeometry(x.WindowId()).height(), window.height() - ToolbarRowHeight);
    } else {
        EXPECT_FALSE(PollUntil([&] { return !boardAt(top); }, 1000, 200)) << "the board moved";
        EXPECT_EQ(x.WindowGeometry(x.WindowId()), window);
    }

    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(10000), 0);
}

INSTANTIATE_TEST_SUITE_P(TwoScreens, FreshStart,
                         ::testing::Values(ScreenCase{"Small640x480", 640, 480, 0},
                                           ScreenCase{"Wide800x600", 800, 600, 1}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace mirelo::test

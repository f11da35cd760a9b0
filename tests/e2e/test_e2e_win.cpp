// A whole seeded game won through real clicks: the announcement comes once and
// the time reaches the Hall of Fame in Mirelo.ini.
#include "ExpectedBoard.h"
#include "Geometry.h"
#include "HallOfFame.h"
#include "ProfileFile.h"
#include "Solver.h"
#include "TimeText.h"
#include "XSession.h"

#include <QElapsedTimer>
#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

namespace mirelo::test {
namespace {

using namespace geometry;

constexpr int Wide = 1; // an 800 x 600 screen
// The Hall of Fame is written over the background from here rightwards.
constexpr int StripLeft = 704;

struct Click {
    std::uint8_t Tile = 0;
    QPoint Buffer; // where to click, in Buffer coordinates
};

// The clicks that clear the Traditional deal of `seed`, two a pair in the order
// the solver found; empty when the solver does not prove the deal winnable or
// a tile to click shows nowhere at its turn. A sequence the rules refuse is a
// fault of the solver and fails the test.
std::vector<Click> WinningClicks(std::uint32_t seed) {
    ExpectedBoard board(seed, Wide);
    const SolveOutcome outcome = Solve(board.game.Grid, board.game.Places, SolveBudget{0, 5000});
    if (outcome.Result != SolveResult::Winnable)
        return {};
    std::vector<Click> clicks;
    for (const auto& [a, b] : outcome.Pairs) {
        for (const std::uint8_t tile : {a, b}) {
            // The hit map depends on the tiles left only, so this is where the
            // program will find the tile when the test clicks it.
            const QPoint point = board.ClickPoint(tile);
            if (point.x() < 0)
                return {};
            clicks.push_back({tile, point});
            board.Pick(tile);
        }
        EXPECT_EQ(board.game.Places[a].Z, 0)
            << "seed " << seed << ": the rules refused the solver's pair " << int(a) << ", "
            << int(b);
        if (board.game.Places[a].Z != 0)
            return {};
    }
    EXPECT_EQ(board.game.State.TilesLeft, 0)
        << "seed " << seed << ": the solver's sequence left tiles";
    return board.game.State.TilesLeft == 0 ? clicks : std::vector<Click>{};
}

// The win announcements on the screen: the game's windows titled with the caption.
QStringList WinBoxes(XSession& x) {
    QStringList boxes;
    for (const QString& window : x.GameWindows())
        if (window != x.WindowId() && x.WindowName(window) == QLatin1String(HallOfFameCaption))
            boxes << window;
    return boxes;
}

QString Entry(const ProfileFile& file, const char* layout, int rank) {
    return file.ReadString(QString::fromLatin1(layout), QStringLiteral("Rank%1").arg(rank),
                           QStringLiteral("<absent>"));
}

TEST(WholeGame, ClearedByClicksIsAnnouncedOnceAndEntersTheHallOfFame) {
    // The first seed from 1 on whose deal the solver proves winnable, with every
    // tile showing somewhere at its turn.
    std::uint32_t seed = 0;
    std::vector<Click> clicks;
    for (std::uint32_t candidate = 1; candidate <= 20 && clicks.empty(); ++candidate) {
        clicks = WinningClicks(candidate);
        seed = candidate;
    }
    ASSERT_EQ(clicks.size(), 144u) << "no seed up to 20 gives a deal proved winnable";
    RecordProperty("seed", static_cast<int>(seed));

    XSession x(800, 600);
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    // The player's name, and no hover highlight: its rectangle would lie over
    // the tiles this test compares with the expected picture.
    const QString settingsPath = x.ConfigHome() + QStringLiteral("/Mirelo.ini");
    {
        ProfileFile settings;
        settings.WriteString(u"Mirelo", u"CurrentPlayer1", QStringLiteral("Winner"));
        settings.WriteInteger(u"Mirelo", u"Highlight", 0);
        ASSERT_TRUE(settings.Save(settingsPath));
    }
    QElapsedTimer sinceLaunch;
    sinceLaunch.start();
    ASSERT_TRUE(x.Start(GameProgram("mirelo"), {QStringLiteral("MIRELO_SEED=%1").arg(seed)}));

    ExpectedBoard expected(seed, Wide);
    QImage screen;
    int top = -1;
    ASSERT_TRUE(PollUntil(
        [&] {
            screen = x.Screenshot();
            top = FindBufferRow(screen, 0, expected.renderer.Buffer, StripLeft, BackgroundHeight);
            return top >= 0;
        },
        10000))
        << "the seeded deal is not on the screen";
    const QPoint buffer0(0, top); // the screen point of Buffer (0, 0)
    // The Hall of Fame's first rank, names and times, in the purple strip.
    const QRect firstRank = QRect(StripLeft, 136, WideClientWidth - StripLeft, 32)
                                .translated(0, top - ToolbarRowHeight);
    const QImage stripBefore = screen.copy(firstRank);

    QElapsedTimer playing;
    playing.start();
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        const Click& click = clicks[i];
        // The tiles whose look this click changes: the one clicked and, when a
        // pair goes, its partner.
        std::vector<QRect> changed{expected.Box(click.Tile)};
        if (i % 2 == 1)
            changed.push_back(expected.Box(clicks[i - 1].Tile));
        const QPoint at = click.Buffer + buffer0;
        // Press and release rather than "click", which waits a tenth of a second after.
        ASSERT_TRUE(
            x.Xdotool({QStringLiteral("mousemove"), QString::number(at.x()),
                       QString::number(at.y()), QStringLiteral("mousedown"), QStringLiteral("1"),
                       QStringLiteral("mouseup"), QStringLiteral("1")}));
        expected.Pick(click.Tile);
        if (i + 1 == clicks.size())
            break; // the board gives way to the announcement
        // The program reads the pointer when it handles the click, so the next
        // move waits until this click shows.
        const bool shown = PollUntil(
            [&] {
                screen = x.Screenshot();
                for (const QRect& box : changed)
                    if (DifferentPixels(screen, box.translated(buffer0), expected.renderer.Buffer,
                                        box) != 0)
                        return false;
                return true;
            },
            10000, 10);
        ASSERT_TRUE(shown) << "click " << i + 1 << " of " << clicks.size() << " on tile "
                           << int(click.Tile) << " at screen " << at.x() << ", " << at.y()
                           << " did not show as expected";
    }

    QStringList boxes;
    ASSERT_TRUE(PollUntil([&] { return !(boxes = WinBoxes(x)).isEmpty(); }, 15000))
        << "no announcement titled \"" << HallOfFameCaption << "\" after the last pair";
    const qint64 wallSeconds = (sinceLaunch.elapsed() + 999) / 1000;
    const qint64 playedSeconds = playing.elapsed() / 1000;
    EXPECT_EQ(boxes.size(), 1);
    // The win is announced once: while the box is up the clock keeps ticking
    // and redrawing, and no second box may join it.
    EXPECT_FALSE(PollUntil([&] { return WinBoxes(x).size() != 1; }, 1000))
        << "the announcement did not stay single";

    ASSERT_TRUE(x.Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), boxes.first(),
                           QStringLiteral("key"), QStringLiteral("Return")}));
    ASSERT_TRUE(PollUntil([&] { return WinBoxes(x).isEmpty(); }, 5000))
        << "Return did not close the announcement";
    EXPECT_FALSE(PollUntil([&] { return !WinBoxes(x).isEmpty(); }, 1500))
        << "the announcement came again";

    // The cleared board gives way to the background with the logo, as a stopped
    // game does, and the strip shows the new first rank.
    QImage stopped = expected.background.copy();
    {
        QPainter painter(&stopped);
        painter.drawImage(QPoint(LogoX, LogoY), LoadPicture("logo.png", 253, 128));
    }
    const QRect board(0, 0, StripLeft, BackgroundHeight);
    EXPECT_TRUE(PollUntil(
        [&] {
            screen = x.Screenshot();
            return DifferentPixels(screen, board.translated(buffer0), stopped, board) == 0;
        },
        5000))
        << "the won board does not show the background and the logo";
    EXPECT_TRUE(screen.copy(firstRank) != stripBefore)
        << "the Hall of Fame strip does not show the new first rank";

    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    ASSERT_EQ(x.WaitForExit(10000), 0);

    // The box's text cannot be read back from the X server; its time is the
    // total entered here, bounded by the clocks this test kept.
    ProfileFile saved;
    ASSERT_TRUE(saved.Load(settingsPath));
    const std::string first = Entry(saved, "Traditional", 1).toStdString();
    ASSERT_TRUE(IsWellFormedHallEntry(first)) << first;
    const int total = HallEntryTotal(first);
    EXPECT_EQ(first, MakeHallEntry("Winner", total, 0));
    EXPECT_GE(total, playedSeconds - 1);
    EXPECT_LE(total, wallSeconds);
    // The defaults moved one rank down; the other layouts' tables are untouched.
    EXPECT_EQ(Entry(saved, "Traditional", 2).toStdString(), DefaultHallEntry(1));
    EXPECT_EQ(Entry(saved, "Traditional", 10).toStdString(), DefaultHallEntry(9));
    EXPECT_EQ(Entry(saved, "Beatle", 1).toStdString(), DefaultHallEntry(1));
}

} // namespace
} // namespace mirelo::test

// The heartbeat that sleeps until the screen can change, against one that
// runs every 10 ms: the same hour of play must show the same thing.
#include "Tiles.h"
#include "WindowFixture.h"
#include "WindowSurface.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <algorithm>
#include <functional>

namespace mirelo::test {
namespace {

// Two windows on one fake clock, dealt the same board. `Plain` turns every
// 10 ms, as the heartbeat always did; `Sleeper` turns only at the ticks it
// asks for. Every command goes to both, through the paths a player uses.
class HeartbeatTest : public ::testing::Test {
protected:
    struct Side {
        std::unique_ptr<RecordingSound> Sound;
        std::unique_ptr<TMirelo> Window;
        std::vector<Box> Boxes;
    };

    void SetUp() override {
        clock.Tick = 1'000'003; // off the 10 ms grid: its seconds fall between the plain turns
        clock.TimeOfDay = 45'296'789;
        for (Side* side : {&plain, &sleeper}) {
            side->Sound = std::make_unique<RecordingSound>(false);
            TMirelo::Environment env;
            env.Clock = &clock;
            env.Sound = side->Sound.get();
            env.ScreenWidth = 800;
            env.ReadOptions = [] { return Options{}; };
            side->Window = std::make_unique<TMirelo>(env);
            WindowProbe(*side->Window).InfoBox = [side](const QString& caption,
                                                        const QString& text) {
                side->Boxes.push_back({caption, text});
            };
            WindowProbe(*side->Window).HeldModifiers = [] { return Qt::KeyboardModifiers(); };
            side->Window->show();
        }
        // The first paint and the start's turn; after this no event loop runs,
        // so the real timers never fire: the test turns the windows itself.
        QApplication::processEvents();
        nextGrid_ = clock.Tick;
        ASSERT_EQ(In(plain).game.Places, In(sleeper).game.Places);
    }

    // Runs the clock to `target`: the plain window turns on every 10 ms step,
    // the sleeper at each tick it asked for, and both show the same at every step.
    void RunTo(std::uint32_t target) {
        while (clock.Tick < target || SleeperDue()) {
            if (SleeperDue()) {
                TurnSleeper();
                continue;
            }
            const std::uint32_t wake = sleeper.Window->NextWake().value_or(target);
            clock.Tick = std::min({nextGrid_, target, std::max(wake, clock.Tick)});
            if (SleeperDue())
                TurnSleeper();
            if (clock.Tick == nextGrid_) {
                plain.Window->Temps();
                nextGrid_ += 10;
                ExpectSame();
                if (HasFailure())
                    return;
            }
        }
    }
    void Wait(std::uint32_t ms) { RunTo(clock.Tick + ms); }

    bool SleeperDue() const {
        const auto wake = sleeper.Window->NextWake();
        return wake && *wake <= clock.Tick;
    }
    void TurnSleeper() {
        sameTickTurns_ = lastTurnTick_ == clock.Tick ? sameTickTurns_ + 1 : 0;
        lastTurnTick_ = clock.Tick;
        ASSERT_LT(sameTickTurns_, 3) << "the sleeper asks for turn after turn at one tick";
        sleeper.Window->Temps();
        ++sleeperTurns;
    }

    void ExpectSame() {
        for (int panel : {1, 3, 5, 7})
            ASSERT_EQ(Text(sleeper, panel), Text(plain, panel))
                << "panel " << panel << " at " << (clock.Tick - 1'000'003) << " ms";
        ASSERT_EQ(In(sleeper).game.State.Phase, In(plain).game.State.Phase);
        sawWarning |= Text(plain, 7) == "SORRY, NO MORE MOVES !!";
    }
    static WindowProbe In(const Side& side) { return WindowProbe(*side.Window); }
    static QString Text(const Side& side, int panel) { return In(side).LigneStatus[panel]->text(); }

    // A command on both windows, then at once to the screen as the player sees it.
    void Do(const std::function<void(TMirelo&)>& command) {
        command(*plain.Window);
        command(*sleeper.Window);
        sameTickTurns_ = -1;
        ++commands;
    }
    void Trigger(QAction* TMirelo::MenuItems::*action) {
        Do([action](TMirelo& w) { (WindowProbe(w).Menu.*action)->trigger(); });
    }
    // A left click on `tile` as the board surface reports it.
    void ClickTile(int tile) {
        const QPoint p = VisiblePoint(tile);
        ASSERT_NE(p, QPoint()) << "tile " << tile;
        Do([p](TMirelo& w) {
            QCursor::setPos(WindowProbe(w).Surface->mapToGlobal(
                p + QPoint(36, 25 + WindowProbe(w).ToolbarHeight)));
            WindowProbe(w).Surface->OnButtonUp(Qt::LeftButton);
        });
    }
    QPoint VisiblePoint(int tile) const {
        const WindowProbe w = In(plain);
        const QRect box = w.Renderer.TileBox(w.game.Places[tile]);
        for (int dy = 4; dy < box.height() - 4; dy += 3)
            for (int dx = 3; dx < box.width() - 3; dx += 3)
                if (w.Renderer.TileAt(box.left() + dx, box.top() + dy) == tile)
                    return {box.left() + dx, box.top() + dy};
        return {};
    }
    // The first free pair, as a greedy player sees it; false when none is.
    bool FreePair(int& a, int& b) const {
        const Game& game = In(plain).game;
        for (int i = 1; i <= TileCount; ++i)
            for (int j = i + 1; j <= TileCount; ++j)
                if (game.Places[i].OnBoard() && game.Places[j].OnBoard() &&
                    TileFace(i) == TileFace(j) && game.IsFree(i) && game.IsFree(j)) {
                    a = i;
                    b = j;
                    return true;
                }
        return false;
    }
    // Plays greedily until `until` ms from the start: a pair every 7.3 s, a
    // shuffle 5 s after the board runs out of moves, a new deal 3 s after a win.
    void Play(std::uint32_t until) {
        while (!HasFailure() && clock.Tick - 1'000'003 < until) {
            const GameState& s = In(plain).game.State;
            if (s.Phase == GamePhase::Won) {
                Wait(3'000);
                Trigger(&TMirelo::MenuItems::New1);
                continue;
            }
            int a = 0, b = 0;
            if (!FreePair(a, b)) {
                Wait(5'000);
                Trigger(&TMirelo::MenuItems::Shuffle1);
                Wait(1'010);
                continue;
            }
            ClickTile(a);
            Wait(600);
            ClickTile(b);
            Wait(6'700);
            wins += s.Phase == GamePhase::Won;
        }
    }

    FakeClock clock;
    Side plain, sleeper;
    int sleeperTurns = 0, commands = 0, wins = 0;
    bool sawWarning = false;

private:
    std::uint32_t nextGrid_ = 0;
    std::uint32_t lastTurnTick_ = 0;
    int sameTickTurns_ = 0;
};

TEST_F(HeartbeatTest, AnHourOfPlayShowsWhatTheTenMillisecondHeartbeatShowed) {
    Wait(2'000);
    Play(600'000);
    // Hints, a Back and a right click.
    for (int i = 0; i < 3; ++i) {
        Trigger(&TMirelo::MenuItems::GiveHint);
        Wait(1'000);
    }
    Trigger(&TMirelo::MenuItems::Undo1);
    Wait(2'500);
    Do([](TMirelo& w) { WindowProbe(w).Surface->OnButtonUp(Qt::RightButton); });
    Wait(1'500);

    // Ten minutes of pause on a board with moves: the sleeper does not wake.
    if (In(plain).game.State.MovesLeft == 0) {
        Trigger(&TMirelo::MenuItems::Shuffle1);
        Wait(20);
    }
    ASSERT_TRUE(In(plain).game.State.Running());
    Trigger(&TMirelo::MenuItems::Pause1);
    Wait(20);
    const int beforePause = sleeperTurns;
    Wait(600'000);
    EXPECT_EQ(sleeperTurns, beforePause) << "woke while paused";
    Trigger(&TMirelo::MenuItems::Pause1);
    Wait(1'000);

    Play(2'400'000);
    // Stopped: a minute without a single turn.
    Trigger(&TMirelo::MenuItems::Stoppe);
    Wait(20);
    const int beforeStop = sleeperTurns;
    Wait(60'000);
    EXPECT_EQ(sleeperTurns, beforeStop) << "woke with the game stopped";

    // A new deal, then a hint every 10 s until the charges reach the limit.
    Trigger(&TMirelo::MenuItems::New1);
    int hints = 0;
    while (!HasFailure() && In(plain).game.State.InPlay() && hints < 200) {
        if (In(plain).game.State.MovesLeft == 0)
            Trigger(&TMirelo::MenuItems::Shuffle1);
        else
            Trigger(&TMirelo::MenuItems::GiveHint);
        ++hints;
        Wait(10'000);
    }
    EXPECT_EQ(In(plain).game.State.Phase, GamePhase::Stopped) << "the limit never came";
    const int afterLimit = sleeperTurns;
    Wait(60'000);
    EXPECT_EQ(sleeperTurns, afterLimit) << "woke after the time ran out";

    // What the script went through, so that a change of rules cannot make it
    // skip the cases it is for.
    EXPECT_GE(wins, 1);
    EXPECT_TRUE(sawWarning) << "the board never ran out of moves";
    for (int layout = 1; layout <= 5; ++layout)
        for (int rank = 1; rank <= 5; ++rank)
            EXPECT_EQ(In(sleeper).Hall.Entry(layout, rank), In(plain).Hall.Entry(layout, rank));
    ASSERT_EQ(sleeper.Boxes.size(), plain.Boxes.size());
    for (std::size_t i = 0; i < plain.Boxes.size(); ++i)
        EXPECT_EQ(sleeper.Boxes[i].Caption + sleeper.Boxes[i].Text,
                  plain.Boxes[i].Caption + plain.Boxes[i].Text);
    // A turn a second while the clock shows, two while the warning blinks,
    // one for each command: far below the plain heartbeat's hundred.
    const double seconds = (clock.Tick - 1'000'003) / 1000.0;
    EXPECT_LT(sleeperTurns, 3 * seconds)
        << sleeperTurns << " turns for " << commands << " commands in " << seconds << " s";
}

} // namespace
} // namespace mirelo::test

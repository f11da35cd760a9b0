// The 10 ms heartbeat, the clock, pause and the status line.
#include "SoundInterface.h"
#include "SystemClock.h"
#include "TMirelo.h"
#include "TimeText.h"
#include "WindowSurface.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <algorithm>

namespace mirelo {

namespace {

// The tick runs every 10 ms: a label is touched only when its text changes, so
// an idle game repaints nothing.
void SetPanel(QLabel* panel, const QString& text) {
    if (panel->text() != text)
        panel->setText(text);
}

} // namespace

void TMirelo::ShowMessage(const QString& text) {
    SetPanel(LigneStatus[7], text);
}

void TMirelo::Temps() {
    bool musicLoading = false;
    if (PlayMusic) {
        musicLoading = env_.Sound->MusicStep();
        // The sound font is loaded after the start: one that fails then ends
        // the music here, and says why.
        if (!env_.Sound->MusicPossible()) {
            PlayMusic = false;
            musicLoading = false;
            SayWhyNoMusic();
        }
    }
    const TickOutcome turn = game.Tick(env_.Clock->GetTickCount());
    // Armed before the reactions: a win's box runs its own event loop.
    ArmHeartbeat(musicLoading ? std::min<std::uint32_t>(turn.NextChangeIn, MusicLoadStepMs)
                              : turn.NextChangeIn);
    if (!turn.Counted)
        return;
    WriteScore(turn);
    if (turn.Won) {
        WinSequence();
        return;
    }
    if (turn.NoMoves)
        ShowMessage(turn.WarningShown ? QStringLiteral("SORRY, NO MORE MOVES !!") : QString());
    if (turn.TimeUp)
        ShowStopped();
}

// The heartbeat sleeps until the rules say the screen can next change; any
// command wakes it at once (WakeHeartbeat), because a command is when tiles,
// moves, penalties and messages change.
void TMirelo::ArmHeartbeat(std::uint32_t delay) {
    if (ended_ || delay == NoChangeDue) {
        Timer->stop();
        nextWake_.reset();
        return;
    }
    nextWake_ = env_.Clock->GetTickCount() + delay;
    Timer->start(static_cast<int>(std::min<std::uint32_t>(delay, 0x7FFFFFFF)));
}

void TMirelo::WakeHeartbeat() {
    if (!ended_)
        ArmHeartbeat(0);
}

void TMirelo::WriteScore(const TickOutcome& turn) {
    if (shown_.Tiles != turn.TilesLeft) {
        shown_.Tiles = turn.TilesLeft;
        SetPanel(LigneStatus[1], QString::number(turn.TilesLeft));
    }
    const int moves = Menu.Moves->isChecked() ? turn.MovesLeft : -2;
    if (shown_.Moves != moves) {
        shown_.Moves = moves;
        SetPanel(LigneStatus[3], moves >= 0 ? QString::number(moves) : QStringLiteral("--"));
    }
    const int time = turn.Seconds >= 0 ? turn.Seconds : -2;
    if (shown_.Time != time) {
        shown_.Time = time;
        SetPanel(LigneStatus[5],
                 time >= 0 ? QString::fromStdString(MinutesSeconds(time)) : QStringLiteral("---"));
    }
}

void TMirelo::PauseClick() {
    if (!game.PauseClick(env_.Clock->GetTickCount()))
        return;
    const bool paused = game.State.Paused();
    SetPauseCaptions(paused);
    if (!paused) {
        ShowMessage(QStringLiteral("Pause OFF."));
        FullRedraw();
    } else {
        ShowMessage(QStringLiteral("Pause ON."));
        Surface->Draw(QPoint(0, ToolbarHeight), CurrentBackground());
    }
}

void TMirelo::NStatus() {
    Menu.Moves->setChecked(!Menu.Moves->isChecked());
}

} // namespace mirelo

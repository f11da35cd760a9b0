// The 10 ms heartbeat, the clock, pause and the status line.
#include "SoundInterface.h"
#include "SystemClock.h"
#include "TMirelo.h"
#include "TimeText.h"
#include "WindowSurface.h"

#include <QAction>
#include <QLabel>

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
    if (PlayMusic) {
        env_.Sound->MusicStep();
        // The sound font is loaded after the start: one that fails then ends
        // the music here, and says why.
        if (!env_.Sound->MusicPossible()) {
            PlayMusic = false;
            SayWhyNoMusic();
        }
    }
    const std::uint32_t now = env_.Clock->GetTickCount();
    game.UpdateClock(now);
    WriteScore();
    const GameState& s = game.State;
    if (game.TimeIsUp() && !s.GameOver && !s.GameWon)
        StopGame();
}

void TMirelo::WriteScore() {
    GameState& s = game.State;
    if (s.GameOver)
        return;
    game.IsItFree();
    if (shown_.Tiles != s.TilesLeft) {
        shown_.Tiles = s.TilesLeft;
        SetPanel(LigneStatus[1], QString::number(s.TilesLeft));
    }
    const int moves = Moves->isChecked() ? s.MovesLeft : -2;
    if (shown_.Moves != moves) {
        shown_.Moves = moves;
        SetPanel(LigneStatus[3], moves >= 0 ? QString::number(moves) : QStringLiteral("--"));
    }
    const int time = s.Paused ? -2 : s.TotalSeconds();
    if (shown_.Time != time) {
        shown_.Time = time;
        SetPanel(LigneStatus[5],
                 time >= 0 ? QString::fromStdString(MinutesSeconds(time)) : QStringLiteral("---"));
    }
    if (s.TilesLeft == 0) {
        if (!s.WinAnnounced)
            FullRedraw();
    } else if (s.MovesLeft == 0) {
        ShowMessage(NoMovesWarningShown(env_.Clock->GetTickCount())
                        ? QStringLiteral("SORRY, NO MORE MOVES !!")
                        : QString());
    }
}

void TMirelo::PauseClick() {
    GameState& s = game.State;
    if (s.GameOver || s.GameWon)
        return;
    game.PauseClick(env_.Clock->GetTickCount());
    SetPauseCaptions(s.Paused);
    if (!s.Paused) {
        ShowMessage(QStringLiteral("Pause OFF."));
        FullRedraw();
    } else {
        ShowMessage(QStringLiteral("Pause ON."));
        Surface->Draw(QPoint(0, ToolbarHeight), CurrentBackground());
    }
}

void TMirelo::NStatus() {
    Moves->setChecked(!Moves->isChecked());
}

} // namespace mirelo

// Game commands: deal, restart, stop, picks, Back, Hint, Shuffle, layouts, the win.
#include "Geometry.h"
#include "LayoutTemplate.h"
#include "Solver.h"
#include "SoundInterface.h"
#include "SystemClock.h"
#include "TMirelo.h"
#include "TimeText.h"
#include "WindowSurface.h"
#include "WinnableDeal.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QToolButton>

namespace mirelo {

using namespace geometry;

void TMirelo::SetGameCommandsEnabled(bool enabled) {
    Menu.Restart1->setEnabled(enabled);
    Menu.Pause1->setEnabled(enabled);
    Menu.Stoppe->setEnabled(enabled);
    Menu.Shuffle1->setEnabled(enabled);
    Bar.ShuffleButton->setEnabled(enabled);
}

void TMirelo::SetPauseCaptions(bool paused) {
    Menu.Pause1->setText(paused ? QStringLiteral("&Continue") : QStringLiteral("&Pause"));
    Bar.SpeedButton2->setText(paused ? QStringLiteral("Play") : QStringLiteral("Pause"));
}

void TMirelo::ResetGame() {
    BeginGame();
}

void TMirelo::BeginGame() {
    SetPauseCaptions(false);
    SetGameCommandsEnabled(true);
    Renderer.PaintBackground(CurrentBackground());
    Sheet.ChangeTexture(TileStyle);
    ColorHighlightTile = 0;
    // The tile under a shown rectangle belongs to the old deal.
    DropHighlightRectangle();
    const std::uint32_t seed = env_.Clock->TimeOfDayMilliseconds();
    bool proved = true;
    if (Menu.WinnableDeals1->isChecked()) {
        // Deals with the same generator until the solver proves a deal winnable.
        proved = DealWinnable(game, Layouts.CurrentLayout, seed, env_.Clock->GetTickCount()).Proved;
        // The clock starts when the board is there, not when the search began.
        game.State.StartTick = static_cast<std::int32_t>(env_.Clock->GetTickCount());
    } else {
        game.BeginGame(Layouts.CurrentLayout, seed, env_.Clock->GetTickCount());
    }
    DealtLayout = Layouts.CurrentLayout;
    ShowMessage(proved
                    ? QString::fromLatin1(BannerLine)
                    : QStringLiteral("No winnable deal found in time: this one may be hopeless."));
    FullRedraw();
    Surface->repaint();
    QCoreApplication::processEvents();
}

void TMirelo::Restart() {
    if (!game.Restart(env_.Clock->GetTickCount(), *this))
        return;
    ColorHighlightTile = 0;
    ShowMessage(QStringLiteral("Game restarted."));
}

void TMirelo::Stop() {
    StopGame();
}

void TMirelo::StopGame() {
    game.StopGame(env_.Clock->GetTickCount());
    ShowStopped();
}

void TMirelo::ShowStopped() {
    SetPauseCaptions(false);
    SetGameCommandsEnabled(false);
    Surface->Draw(QPoint(0, ToolbarHeight), CurrentBackground());
    Surface->Draw(QPoint(LogoX, ToolbarHeight + LogoY), Logo());
}

void TMirelo::Back() {
    game.Back(*this);
}

void TMirelo::CanIWinClick() {
    if (!game.State.Running())
        return;
    // A second of search answers almost every board; past it the honest answer is "unknown".
    const SolveOutcome outcome = Solve(game.Grid, game.Places, SolveBudget{50'000'000, 1000});
    game.State.PenaltySeconds += HintPenaltySeconds;
    switch (outcome.Result) {
    case SolveResult::Winnable:
        ShowMessage(QStringLiteral("This board can still be cleared."));
        break;
    case SolveResult::Hopeless:
        ShowMessage(QStringLiteral("No way to clear this board from here."));
        break;
    case SolveResult::Unknown:
        ShowMessage(QStringLiteral("Too hard to tell quickly."));
        break;
    }
}

void TMirelo::Hint() {
    if (game.Hint())
        FullRedraw();
}

void TMirelo::Shuffle1Click() {
    const ShuffleOutcome out = game.Shuffle();
    if (!out.Performed)
        return;
    if (out.MovesLeft > 0)
        ShowMessage(QStringLiteral("Tiles shuffled."));
    FullRedraw();
    Surface->repaint();
    QCoreApplication::processEvents();
}

QPoint TMirelo::PointerBoardPosition() const {
    // The pointer's position now, not the one the event carried.
    const QPoint client = Surface->mapFromGlobal(QCursor::pos());
    return {client.x() - BoardOriginX * WideScreen,
            client.y() - BoardOriginY * WideScreen - ToolbarHeight};
}

void TMirelo::ButtonDown(Qt::MouseButton button) {
    if (!game.State.Running())
        return;
    const QPoint p = PointerBoardPosition();
    if (button == Qt::RightButton) {
        game.DropPicks(*this);
        return;
    }
    if (p.x() < 0 || p.y() < 0 || p.x() >= ClickAreaWidth || p.y() >= ClickAreaHeight)
        return;
    game.Pick(Renderer.TileAt(p.x(), p.y()), *this);
}

void TMirelo::SonOK(std::uint8_t tile) {
    if (PlaySounds)
        env_.Sound->PlayEffect(SoundAccepted);
    RedrawTile(tile);
}

void TMirelo::SonBip() {
    if (PlaySounds)
        env_.Sound->PlayEffect(SoundRefused);
}

void TMirelo::PairRemovedSound() {
    if (PlaySounds)
        env_.Sound->PlayEffect(SoundRemoved);
}

void TMirelo::WinSequence() {
    ShowStopped();
    WinAnnouncement();
}

// ----- Layout menu -----

void TMirelo::SetCheckedLayout(const LayoutOutcome& outcome) {
    QAction* const items[] = {nullptr,       Menu.Traditional1, Menu.Dragon1,
                              Menu.BigHole1, Menu.Theater1,     Menu.Beatle1};
    for (int n = 1; n <= LayoutCount; ++n)
        if (outcome.Checks[n] != LayoutOutcome::Leave)
            items[n]->setChecked(outcome.Checks[n] == 1);
}

void TMirelo::ApplyLayoutOutcome(const LayoutOutcome& outcome) {
    if (!outcome.Acted)
        return;
    SetCheckedLayout(outcome);
    if (outcome.EnableDragon)
        Menu.Dragon1->setEnabled(true);
    if (outcome.Warn)
        InfoBox(QString::fromLatin1(LayoutWarningCaption.data(), LayoutWarningCaption.size()),
                QString::fromLatin1(LayoutWarningText.data(), LayoutWarningText.size()));
    ShowMessage(QString::fromLatin1(outcome.Message.data(), outcome.Message.size()));
}

void TMirelo::SelectLayout(int layout) {
    if (layout != LayoutTraditional) {
        ApplyLayoutOutcome(ChooseLayout(Layouts, layout, game.State.InPlay()));
        return;
    }
    // The secret unlock: Ctrl, Alt and Shift all held while Traditional is chosen.
    const Qt::KeyboardModifiers chord = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
    const bool held = (HeldModifiers() & chord) == chord;
    ApplyLayoutOutcome(ChooseTraditional(Layouts, held, game.State.InPlay()));
}

} // namespace mirelo

// The Hall of Fame strip, the win announcement and the music choices.
#include "Geometry.h"
#include "SoundInterface.h"
#include "TMirelo.h"
#include "TimeText.h"
#include "WindowSurface.h"

#include <QAction>
#include <QFont>
#include <QMenu>
#include <array>

namespace mirelo {

void TMirelo::ShowHiScores() {
    if (!WideScreen)
        return;
    // The strip is laid down after every redraw, so its text is drawn once per
    // table shown and then copied as stored glyph pixels.
    if (Layouts.CurrentLayout != hallStripLayout_ || Hall.Changes() != hallStripChanges_) {
        // Only glyph pixels are laid down, so the old table's text would show
        // through the new one: its place goes back to the picture beneath first.
        // Right of the board that picture is the background, whatever the game shows.
        const QRect old = hallStrip_.Bounds();
        if (!old.isEmpty())
            Surface->Draw(old.topLeft(), CurrentBackground(), old.translated(0, -ToolbarHeight));
        hallStripLayout_ = Layouts.CurrentLayout;
        hallStripChanges_ = Hall.Changes();
        RenderHallStrip();
    }
    hallStrip_.DrawOn(*Surface);
}

void TMirelo::RenderHallStrip() {
    // Drawn straight onto the window over the purple band, glyph pixels only.
    // Without antialiasing: the strip is drawn again on every redraw, and
    // blended edges would darken with each pass.
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(13);
    title.setBold(true);
    title.setStyleStrategy(QFont::NoAntialias);
    QFont table(QStringLiteral("Courier New"));
    table.setPixelSize(13);
    table.setBold(true);
    table.setStyleStrategy(QFont::NoAntialias);

    const QColor yellow(255, 255, 0), white(255, 255, 255), cyan(0, 255, 255);
    hallStrip_.Clear(Surface->Scale());
    hallStrip_.AddText({725, 80}, QStringLiteral("HALL OF"), title, yellow);
    hallStrip_.AddText({735, 100}, QStringLiteral("FAME"), title, yellow);
    for (int rank = 1; rank <= HallRanks; ++rank) {
        const std::string& entry = Hall.Entry(Layouts.CurrentLayout, rank);
        hallStrip_.AddText({718, 110 + 30 * rank}, QString::fromStdString(HallEntryName(entry)),
                           table, white);
        hallStrip_.AddText({742, 122 + 30 * rank},
                           QString::fromStdString(MinutesSeconds(HallEntryTotal(entry))), table,
                           cyan);
    }
}

void TMirelo::WinAnnouncement() {
    const int total = game.State.TotalSeconds();
    QString caption;
    // Judged against the table of the layout the game was dealt on, not the one
    // chosen in the menu since.
    if (Hall.Qualifies(DealtLayout, total)) {
        Hall.AddHall(DealtLayout, CurrentPlayer.toStdString(), total, game.State.PenaltySeconds);
        ShowHiScores();
        caption = QString::fromLatin1(HallOfFameCaption);
    } else {
        caption = QString::fromLatin1(WinCaption(total));
    }
    InfoBox(caption, QString::fromStdString(WinMessage(total)));
}

// ----- Music -----

void TMirelo::ChooseTune(int tune) {
    static constexpr std::array<std::array<const char*, 2>, 4> Tunes{{
        {"ferral.mid", "Music FERRAL selected."},
        {"gokuraku.mid", "Music GOKURAKU selected."},
        {"mirelo.mid", "Music MIRELO selected."},
        {"gisors.mid", "Music GISORS selected."},
    }};
    const QString file = QString::fromLatin1(Tunes[tune][0]);
    // Music off asks nothing of the sound: looking for a tune would make it
    // check its sound font.
    if (!PlayMusic || !env_.Sound->TuneExists(file)) {
        // Nothing changes, the mark included.
        CheckTuneItems(tuneMark_ ? tuneMark_->data().toString() : QString());
        return;
    }
    if (SelectedMusic(file))
        ShowMessage(QString::fromLatin1(Tunes[tune][1]));
}

bool TMirelo::SelectedMusic(const QString& fileName) {
    QString error;
    const bool opened = env_.Sound->SelectedMusic(fileName, &error);
    if (!opened)
        InfoBox(QString::fromLatin1(WindowCaption), error);
    // The mark names the tune that is open: after a failure, the one the sound
    // kept, or none.
    CheckTuneItems(opened ? fileName : env_.Sound->CurrentTune());
    return opened;
}

void TMirelo::CheckTuneItems(const QString& fileName) {
    if (!Menu.Music2)
        return;
    tuneMark_ = nullptr;
    for (QAction* item : Menu.Music2->actions()) {
        item->setChecked(item->data().toString() == fileName);
        if (item->isChecked())
            tuneMark_ = item;
    }
}

} // namespace mirelo

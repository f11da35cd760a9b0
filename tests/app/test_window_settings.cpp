// Options, the player's name and the Hall of Fame through Mirelo.ini.
#include "SettingsFixture.h"
#include "TConfigu.h"
#include "WindowSurface.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace mirelo::test {
namespace {

TEST_F(SettingsTest, AFreshSystemStartsOnTheDefaultsAndWritesThemAll) {
    Start(true);
    EXPECT_TRUE(probe().Menu.Wood1->isChecked());
    EXPECT_TRUE(probe().Menu.Highlight2->isChecked());
    EXPECT_TRUE(probe().Menu.Moves->isChecked());
    EXPECT_FALSE(probe().Menu.Playsounds1->isChecked());
    EXPECT_FALSE(probe().Menu.Playmusic1->isChecked());
    EXPECT_FALSE(probe().Menu.WarnMe->isChecked());
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "Player1");
    EXPECT_TRUE(probe().Menu.Dragons1->isChecked());
    EXPECT_TRUE(probe().game.State.InPlay());
    EXPECT_EQ(probe().Hall.Entry(3, 1), "---       240    0");
    EXPECT_FALSE(QFile::exists(path)); // nothing is written before the close
    Close();
    EXPECT_FALSE(window->isVisible());
    const QByteArray text = ReadFile();
    const QList<QByteArray> expected{
        "[Mirelo]",     "Tileset=0",       "Highlight=1",  "ShowMoves=1",
        "PlayMusic=0",  "PlaySounds=0",    "NeverWarn=0",  "CurrentPlayer1=Player1",
        "Background=1", "StartDirectly=1", "[Traditional]"};
    qsizetype at = 0;
    for (const QByteArray& line : expected) {
        const qsizetype found = text.indexOf(line, at);
        ASSERT_GE(found, 0) << line.toStdString() << " missing or out of order in\n"
                            << text.toStdString();
        at = found + line.size();
    }
    EXPECT_EQ(Value("Beatle", "Rank10"), "---       510    0");
    EXPECT_EQ(text.count("Rank"), 50);
}

TEST_F(SettingsTest, ValuesAreReadInTheirFormsAndWrittenBackCleanly) {
    WriteFile("; kept comment\r\n[Other]\r\nkeep=me\r\n[mirelo]\r\ntileset=0x2\r\nShowMoves=5\r\n"
              "Background=2\r\nCurrentPlayer1=\r\nHighlight= 0\r\nunknown=still here\r\n");
    Start();
    EXPECT_TRUE(probe().Menu.Red1->isChecked());
    EXPECT_TRUE(probe().Menu.Moves->isChecked());
    EXPECT_FALSE(probe().Menu.Kanji1->isChecked());
    EXPECT_FALSE(probe().Menu.Dragons1->isChecked());
    EXPECT_EQ(&window->CurrentBackground(), &window->Dragons());
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "");
    EXPECT_TRUE(probe().Menu.Highlight1->isChecked());
    Close();
    EXPECT_EQ(Value("Mirelo", "Tileset"), "2");
    EXPECT_EQ(Value("Mirelo", "ShowMoves"), "1");
    EXPECT_EQ(Value("Mirelo", "Background"), "1");
    EXPECT_EQ(Value("Mirelo", "CurrentPlayer1"), "");
    EXPECT_EQ(Value("Other", "keep"), "me");
    EXPECT_EQ(Value("Mirelo", "unknown"), "still here");
    const QByteArray text = ReadFile();
    EXPECT_TRUE(text.startsWith("; kept comment\r\n[Other]\r\n"));
    EXPECT_FALSE(text.contains("\n\n")); // the file's CRLF line ends are kept

    // The empty name stays empty across a restart.
    Start();
    EXPECT_EQ(probe().CurrentPlayer, "");
}

TEST_F(SettingsTest, OutOfRangeStyleAndHighlightAreBroughtIntoRange) {
    WriteFile("[Mirelo]\nTileset=7\nHighlight=-3\nTileset2=0x\n");
    Start();
    EXPECT_TRUE(probe().Menu.Wood1->isChecked());
    EXPECT_TRUE(probe().Menu.Highlight2->isChecked());
    Close();
    EXPECT_EQ(Value("Mirelo", "Tileset"), "0");
    EXPECT_EQ(Value("Mirelo", "Highlight"), "1");
}

TEST_F(SettingsTest, SilentEditionLeavesTheSoundKeysAsTheFullEditionWroteThem) {
    WriteFile("[Mirelo]\nPlayMusic=1\nPlaySounds=yes\n");
    Start(false);
    Close();
    EXPECT_EQ(Value("Mirelo", "PlayMusic"), "1");
    EXPECT_EQ(Value("Mirelo", "PlaySounds"), "yes");
}

TEST_F(SettingsTest, MusicThatCannotPlayIsOffButTheCheckMarkStaysAndIsSaved) {
    WriteFile("[Mirelo]\nPlayMusic=1\nPlaySounds=1\n");
    Start(true, false);
    sound->Possible = false; // no sound font
    sound->MusicReason = QStringLiteral("The sound font \"/no/such/font.sf2\" was not found.");
    window->show();
    Settle();
    EXPECT_FALSE(probe().PlayMusic);
    EXPECT_TRUE(probe().Menu.Playmusic1->isChecked());
    EXPECT_FALSE(probe().Bar.Media->isEnabled());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text,
              "Music is unavailable: The sound font \"/no/such/font.sf2\" was not found.\n"
              "The game goes on without music.");
    Close();
    // The player's choice, not what this machine allowed today.
    EXPECT_EQ(Value("Mirelo", "PlayMusic"), "1");
    EXPECT_EQ(Value("Mirelo", "PlaySounds"), "1");
}

TEST_F(SettingsTest, WithoutASoundDeviceTheStoredSoundOptionsAreKept) {
    WriteFile("[Mirelo]\nPlayMusic=1\nPlaySounds=1\n");
    soundReason = QStringLiteral("no audio device");
    Start(true);
    EXPECT_FALSE(probe().PlayMusic);
    QApplication::processEvents();
    ASSERT_EQ(boxes.size(), 1u); // said once, when the window shows
    EXPECT_TRUE(boxes[0].Text.contains("no audio device"));
    window->hide();
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(boxes.size(), 1u);
    Close();
    EXPECT_EQ(Value("Mirelo", "PlayMusic"), "1");
    EXPECT_EQ(Value("Mirelo", "PlaySounds"), "1");
}

TEST_F(SettingsTest, MusicWhoseSoundFontFailsAfterStartStopsSaysWhyAndKeepsTheChoice) {
    WriteFile("[Mirelo]\nPlayMusic=1\n");
    soundCanPlay = true;
    Start(true);
    ASSERT_TRUE(probe().PlayMusic);
    probe().Timer->stop(); // only the ticks this test makes
    // The late load of the sound font failed.
    sound->CanPlay = false;
    sound->Possible = false;
    sound->MusicReason = QStringLiteral("The sound font \"/fonts/bad.sf2\" could not be read.");
    EXPECT_TRUE(boxes.empty());
    window->Temps();
    EXPECT_FALSE(probe().PlayMusic);
    EXPECT_TRUE(probe().Menu.Playmusic1->isChecked());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].Text.contains("/fonts/bad.sf2")) << boxes[0].Text.toStdString();
    const int steps = sound->Steps;
    window->Temps();
    EXPECT_EQ(sound->Steps, steps); // music is off: the tick no longer asks
    EXPECT_EQ(boxes.size(), 1u);
    Close();
    EXPECT_EQ(Value("Mirelo", "PlayMusic"), "1");

    WriteFile("[Mirelo]\nPlayMusic=1\n");
    Start(true);
    sound->CanPlay = false;
    probe().Menu.Playmusic1->trigger(); // off, then on again: the player's own choice
    probe().Menu.Playmusic1->trigger();
    Close();
    EXPECT_EQ(Value("Mirelo", "PlayMusic"), "1");
}

TEST_F(SettingsTest, SoundIsAskedAboutOnlyOnceTheWindowShows) {
    WriteFile("[Mirelo]\nPlayMusic=1\n");
    soundCanPlay = true;
    Start(true, false);
    EXPECT_FALSE(sound->Enabled);
    EXPECT_FALSE(probe().PlayMusic); // the tick plays no music yet
    EXPECT_TRUE(probe().Menu.Playmusic1->isChecked());
    window->show();
    QApplication::processEvents(); // the first paint only
    EXPECT_FALSE(sound->Enabled);
    QApplication::processEvents();
    EXPECT_TRUE(sound->Enabled);
    EXPECT_TRUE(probe().PlayMusic);
    EXPECT_TRUE(probe().Bar.Media->isEnabled());
}

TEST_F(SettingsTest, ClosedBeforeItShowsTheMusicChoiceIsKept) {
    WriteFile("[Mirelo]\nPlayMusic=1\n");
    soundCanPlay = true;
    Start(true, false);
    ASSERT_TRUE(window->close());
    EXPECT_EQ(Value("Mirelo", "PlayMusic"), "1");
}

TEST_F(SettingsTest, MusicThatCanPlayEnablesTheControlAndTheTunesButStartsNothing) {
    WriteFile("[Mirelo]\nPlayMusic=1\n");
    soundCanPlay = true;
    Start(true);
    EXPECT_TRUE(probe().PlayMusic);
    EXPECT_TRUE(sound->Enabled);
    EXPECT_TRUE(probe().Bar.Media->isEnabled());
    EXPECT_TRUE(sound->Selected.isEmpty());
    EXPECT_TRUE(probe().Menu.FerralMus->isChecked());
    probe().Timer->stop(); // only the ticks this test makes
    int steps = sound->Steps;
    window->Temps();
    EXPECT_EQ(sound->Steps, steps + 1);

    sound->Tunes = QStringList{QStringLiteral("gisors.mid")};
    probe().Menu.MireloMus->trigger(); // its file is absent: nothing at all
    EXPECT_TRUE(probe().Menu.FerralMus->isChecked());
    EXPECT_TRUE(sound->Selected.isEmpty());
    probe().Menu.GisorsMus->trigger();
    EXPECT_EQ(sound->Selected, QStringList{QStringLiteral("gisors.mid")});
    EXPECT_TRUE(probe().Menu.GisorsMus->isChecked());
    EXPECT_FALSE(probe().Menu.FerralMus->isChecked());
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Music GISORS selected.");

    probe().Menu.Playmusic1->trigger(); // off: tune choices do nothing, the tick skips music
    EXPECT_FALSE(probe().PlayMusic);
    probe().Menu.FerralMus->trigger();
    EXPECT_TRUE(probe().Menu.GisorsMus->isChecked());
    steps = sound->Steps;
    window->Temps();
    EXPECT_EQ(sound->Steps, steps);
}

TEST_F(SettingsTest, AnUnwritableFolderKeepsTheOldFileAndTheGameRunning) {
    // A regular file where the settings folder should be: no write can succeed.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    path = dir.filePath(QStringLiteral("blocked/Mirelo.ini"));
    Start();
    answers = {TMirelo::WriteFailure::Cancel};
    window->close();
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(probe().Timer->isActive());
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(writeFailures.size(), 1);
    EXPECT_TRUE(writeFailures[0].startsWith("Unable to write to "))
        << writeFailures[0].toStdString();
    EXPECT_TRUE(writeFailures[0].contains("Mirelo.ini"));
}

TEST_F(SettingsTest, AWinGoesIntoTheTableOfTheLayoutItWasDealtOn) {
    Start();
    probe().Menu.Theater1->trigger(); // chosen after the deal on Traditional
    Game& game = probe().game;
    game.ClearBoard();
    game.PlaceTile(1, 10, 10, 1);
    game.PlaceTile(2, 12, 10, 1);
    game.State.TilesLeft = 2;
    clock.Advance(239'000);
    window->Temps();
    probe().game.Pick(1, *window);
    probe().game.Pick(2, *window);
    window->Temps();
    ASSERT_EQ(boxes.size(), 2u); // the layout warning, then the win
    EXPECT_EQ(boxes[1].Caption, "You made it in the Hall of Fame !");
    EXPECT_EQ(boxes[1].Text, "Congratulations !! You WON !\r\nYour time is : 03:59");
    EXPECT_EQ(probe().Hall.Entry(1, 1), "Player1   239    0");
    EXPECT_EQ(probe().Hall.Entry(1, 2), "---       240    0");
    EXPECT_EQ(probe().Hall.Entry(4, 1), "---       240    0");
    Close();
    EXPECT_EQ(Value("Traditional", "Rank1"), "Player1   239    0");
    EXPECT_EQ(Value("Traditional", "Rank10"), "---       480    0");
}

TEST_F(SettingsTest, HallOfFameStripShowsTheMenusLayoutAndNothingOnANarrowScreen) {
    WriteFile("[Theater]\nRank1=Ada        61    0\n");
    Start();
    auto yellowIn = [&](const QRect& area) {
        const QImage strip = probe().Surface->Surface().copy(area);
        int n = 0;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x)
                n += strip.pixel(x, y) == qRgb(255, 255, 0);
        return n;
    };
    EXPECT_GT(yellowIn(QRect(710, 75, 90, 45)), 20); // "HALL OF" / "FAME"
    const QRect table(710, 130, 90, 320);
    const QImage before = probe().Surface->Surface().copy(table);
    probe().Menu.Theater1->trigger();
    // The next redraw of a single tile puts the new table on, as cleanly as a
    // full redraw would: none of the old names and times show through.
    Game& game = probe().game;
    for (int t = 1; t <= TileCount; ++t)
        if (game.Places[t].OnBoard() && game.IsFree(t)) {
            game.Pick(t, *window);
            break;
        }
    ASSERT_NE(game.State.FirstPick, 0);
    const QImage afterOneTile = probe().Surface->Surface().copy(table);
    EXPECT_NE(afterOneTile, before); // Ada's 01:01 now
    window->FullRedraw();
    EXPECT_EQ(probe().Surface->Surface().copy(table), afterOneTile);

    screenWidth = 640;
    Start();
    EXPECT_EQ(yellowIn(QRect(0, 0, 640, probe().Surface->height())), 0);
}

TEST_F(SettingsTest, TheNameDialogFollowsEveryKeystroke) {
    WriteFile("[Mirelo]\nCurrentPlayer1=Zoe\n");
    Start();
    QString shown;
    QTimer::singleShot(0, [&] {
        shown = probe().Configu->PlayerName->text();
        probe().Configu->PlayerName->clear();
        QTest::keyClicks(probe().Configu->PlayerName, QStringLiteral("Bartholomew"));
        probe().Configu->close(); // the close box keeps what was typed
    });
    probe().Menu.Changeplayername1->trigger();
    EXPECT_EQ(shown, "Zoe");
    EXPECT_EQ(probe().CurrentPlayer, "Bartholo"); // at most 8 characters typed
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "Bartholo");
    EXPECT_EQ(probe().Configu->windowTitle(), "Enter your name");
    EXPECT_EQ(probe().Configu->size(), QSize(172, 73));
    Close();
    EXPECT_EQ(Value("Mirelo", "CurrentPlayer1"), "Bartholo");
}

TEST_F(SettingsTest, TheNameDialogIsMadeOnFirstUseAndReused) {
    WriteFile("[Mirelo]\nCurrentPlayer1=Zoe\n");
    Start();
    EXPECT_EQ(probe().Configu, nullptr);
    QString shown;
    auto typeAndClose = [&](const QString& name) {
        QTimer::singleShot(0, [&, name] {
            if (!probe().Configu)
                return;
            shown = probe().Configu->PlayerName->text();
            probe().Configu->PlayerName->setText(name);
            probe().Configu->close();
        });
        probe().Menu.Changeplayername1->trigger();
    };
    typeAndClose(QStringLiteral("Ann"));
    TConfigu* const made = probe().Configu;
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(shown, "Zoe");
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "Ann");
    typeAndClose(QStringLiteral("Bob"));
    EXPECT_EQ(probe().Configu, made);
    EXPECT_EQ(shown, "Ann");
    EXPECT_EQ(probe().CurrentPlayer, "Bob");
    Close();
}

TEST_F(SettingsTest, ALongNameFromTheFileIsShownWholeButCutInTheTable) {
    WriteFile("[Mirelo]\nCurrentPlayer1=Maximilian\n");
    Start();
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "Maximilian");
    probe().Hall.AddHall(1, probe().CurrentPlayer.toStdString(), 100, 0);
    EXPECT_EQ(probe().Hall.Entry(1, 1), "Maximili  100    0");
    Close();
    EXPECT_EQ(Value("Mirelo", "CurrentPlayer1"), "Maximilian");
}

} // namespace
} // namespace mirelo::test

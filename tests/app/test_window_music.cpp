// The Music menu and "Play music" when a tune, the sound font or the sound
// device is missing: what the window says, which tune it marks, what it saves.
#include "SettingsFixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

namespace mirelo::test {
namespace {

class MusicTest : public SettingsTest {
protected:
    void SetUp() override { sound = std::make_unique<RecordingSound>(true); }

    // The full edition with "Play music" stored as given, through its first paint.
    void Start(bool playMusic) {
        WriteFile(playMusic ? "[Mirelo]\nPlayMusic=1\n" : "[Mirelo]\nPlayMusic=0\n");
        Open();
        // Only the ticks a test makes.
        probe().Timer->stop();
    }
    // Closes the window; the "PlayMusic" value it wrote.
    QString SavedPlayMusic() {
        Close();
        return Value("Mirelo", "PlayMusic");
    }
    QString Status() const { return probe().LigneStatus[7]->text(); }
    // The Music items that carry a check mark.
    QStringList Checked() const {
        QStringList names;
        for (QAction* item : {probe().Menu.FerralMus, probe().Menu.GokurakuMus,
                              probe().Menu.MireloMus, probe().Menu.GisorsMus})
            if (item->isChecked())
                names << item->text();
        return names;
    }
};

TEST_F(MusicTest, ATuneThatFailsToOpenIsNotSelectedAndTheMarkNamesTheTuneThatPlays) {
    sound->CanPlay = true;
    sound->Tunes = QStringList{QStringLiteral("gokuraku.mid"), QStringLiteral("gisors.mid")};
    sound->Unplayable = QStringList{QStringLiteral("gisors.mid")};
    Start(true);
    probe().Menu.GokurakuMus->trigger();
    EXPECT_EQ(Status(), "Music GOKURAKU selected.");
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Gokuraku")});

    // The sound keeps Gokuraku playing: the mark stays on it, nothing is "selected".
    probe().Menu.GisorsMus->trigger();
    EXPECT_EQ(sound->Selected,
              (QStringList{QStringLiteral("gokuraku.mid"), QStringLiteral("gisors.mid")}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "\"gisors.mid\" is not a MIDI file.");
    EXPECT_EQ(Status(), "Music GOKURAKU selected.");
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Gokuraku")});

    // A failure that left no tune open leaves no tune marked.
    sound->FailureClosesTune = true;
    probe().Menu.GisorsMus->trigger();
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(Status(), "Music GOKURAKU selected.");
    EXPECT_EQ(Checked(), QStringList());
    // And a tune that opens is marked again.
    probe().Menu.GokurakuMus->trigger();
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Gokuraku")});
}

// Music off asks the sound nothing when a tune is chosen: looking for the tune
// would have the full edition open its synthesiser to check the sound font.
TEST_F(MusicTest, ATuneChosenWithMusicOffAsksTheSoundNothing) {
    sound->CanPlay = true;
    sound->Tunes = QStringList{QStringLiteral("gisors.mid")};
    Start(false);
    probe().Menu.GisorsMus->trigger();
    EXPECT_EQ(sound->Looked, QStringList());
    EXPECT_EQ(sound->Selected, QStringList());
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Ferral")});

    probe().Menu.Playmusic1->trigger();
    probe().Menu.GisorsMus->trigger();
    EXPECT_EQ(sound->Looked, QStringList{QStringLiteral("gisors.mid")});
    EXPECT_EQ(sound->Selected, QStringList{QStringLiteral("gisors.mid")});
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Gisors")});
}

// Without a sound device the check mark is still the player's to set, and is
// saved. With sound and music off the start has nothing to say; the device's
// box comes when sound is first wanted, once, and covers the music.
TEST_F(MusicTest, PlayMusicChosenWithoutASoundDeviceIsSavedBothWays) {
    sound->Reason = QStringLiteral("no audio device");
    Start(false);
    EXPECT_TRUE(boxes.empty());
    probe().Menu.Playsounds1->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].Text.startsWith("Sound is unavailable: no audio device"));
    probe().Menu.Playmusic1->trigger();
    EXPECT_TRUE(probe().Menu.Playmusic1->isChecked());
    EXPECT_FALSE(probe().PlayMusic);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(SavedPlayMusic(), "1");

    sound = std::make_unique<RecordingSound>(true);
    sound->Reason = QStringLiteral("no audio device");
    boxes.clear();
    Start(true);
    probe().Menu.Playmusic1->trigger();
    EXPECT_FALSE(probe().Menu.Playmusic1->isChecked());
    EXPECT_EQ(SavedPlayMusic(), "0");
}

TEST_F(MusicTest, WithoutTheDefaultTuneTheWindowSaysWhyAndOtherTunesStillPlay) {
    sound->MusicReason = QStringLiteral("The tune \"/opt/mirelo/ferral.mid\" was not found.");
    sound->Tunes = QStringList{QStringLiteral("gisors.mid")};
    sound->Open.clear();
    Start(true);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text,
              "The default tune cannot be played: The tune \"/opt/mirelo/ferral.mid\" was not "
              "found.\nThe other tunes can still be chosen from the Music menu.");
    // Nothing to play or pause: the control stays grey, but the menu works.
    EXPECT_FALSE(probe().Bar.Media->isEnabled());
    EXPECT_FALSE(sound->Enabled);
    EXPECT_TRUE(probe().PlayMusic);
    probe().Menu.GisorsMus->trigger();
    EXPECT_EQ(sound->Selected, QStringList{QStringLiteral("gisors.mid")});
    EXPECT_EQ(Status(), "Music GISORS selected.");
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Gisors")});
    // The tick keeps the chosen tune looping.
    const int steps = sound->Steps;
    window->Temps();
    EXPECT_EQ(sound->Steps, steps + 1);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(SavedPlayMusic(), "1");
}

// While the music loads the heartbeat steps it every 10 ms; once it is loaded
// the end of a tune is noticed without steps, and the heartbeat sleeps again.
TEST_F(MusicTest, TheHeartbeatStepsTheMusicOnlyWhileItLoads) {
    sound->Loading = true;
    Start(true);
    ASSERT_TRUE(probe().PlayMusic);
    const int steps = sound->Steps;
    window->Temps();
    EXPECT_EQ(sound->Steps, steps + 1);
    ASSERT_TRUE(window->NextWake());
    EXPECT_EQ(*window->NextWake(), clock.Tick + 10);

    sound->Loading = false;
    clock.Advance(10);
    window->Temps();
    ASSERT_TRUE(window->NextWake());
    EXPECT_GT(*window->NextWake(), clock.Tick + 10); // the clock panel's next second

    // With no game and the music loaded, nothing wakes at all.
    probe().Menu.Stoppe->trigger();
    window->Temps();
    EXPECT_FALSE(window->NextWake());
}

// With "Play music" off nothing is said at start; switching it on says why, once.
TEST_F(MusicTest, MusicSwitchedOnWhereItCannotPlaySaysWhyOnce) {
    sound->Possible = false;
    sound->MusicReason =
        QStringLiteral("\"/usr/share/sounds/sf2/default-GM.sf2\" is not a sound font.");
    sound->Tunes = QStringList{QStringLiteral("gisors.mid")};
    Start(false);
    EXPECT_TRUE(boxes.empty());
    probe().Menu.Playmusic1->trigger();
    EXPECT_FALSE(probe().PlayMusic);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(
        boxes[0].Text.startsWith("Music is unavailable: \"/usr/share/sounds/sf2/default-GM.sf2\""))
        << boxes[0].Text.toStdString();
    probe().Menu.Playmusic1->trigger();
    probe().Menu.Playmusic1->trigger();
    EXPECT_EQ(boxes.size(), 1u);
    probe().Menu.GisorsMus->trigger(); // no music: the menu does nothing
    EXPECT_TRUE(sound->Selected.isEmpty());
    EXPECT_EQ(SavedPlayMusic(), "1");
}

} // namespace
} // namespace mirelo::test

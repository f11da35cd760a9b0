// The set-up off the window's thread: the two steps and their order, and the
// music answers given before the sound font is loaded, which must be the ones
// the load gives.
#include "AudioTestSupport.h"
#include "FullSound.h"
#include "MediaControl.h"
#include "MidiSequencer.h"
#include "SetUpThread.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

namespace mirelo {
namespace {

using namespace std::chrono_literals;
using test::WaitUntil;

TEST(SetUpThread, TheSecondStepWaitsForItsTimeOrForSomeoneToWait) {
    std::atomic<int> order{0};
    int first = 0;
    int second = 0;
    SetUpThread steps([&] { first = ++order; }, [&] { second = ++order; }, 1h);
    steps.WaitFirst();
    EXPECT_EQ(first, 1);
    EXPECT_FALSE(steps.SecondDone());
    // An hour early.
    steps.WaitSecond();
    EXPECT_EQ(second, 2);
    EXPECT_TRUE(steps.SecondDone());
}

// Music that is never wanted is never loaded: without a request the second
// step sleeps past its delay, and once asked for it runs by itself when its
// time comes, nobody waiting.
TEST(SetUpThread, TheSecondStepRunsOnlyOnceAskedForAndItsTimeComes) {
    std::atomic<bool> ran{false};
    SetUpThread steps([] {}, [&] { ran = true; }, 1ms);
    steps.WaitFirst();
    // Fifty times the delay: it would have run long since.
    QTest::qWait(50);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(steps.SecondDone());
    steps.RequestSecond();
    ASSERT_TRUE(WaitUntil([&] { return steps.SecondDone(); }));
    EXPECT_TRUE(ran);
    // A second request runs nothing again.
    ran = false;
    steps.RequestSecond();
    QTest::qWait(5);
    EXPECT_FALSE(ran);
}

TEST(SetUpThread, ASecondStepNotBegunIsSkipped) {
    std::atomic<bool> ran{false};
    {
        SetUpThread steps([] {}, [&] { ran = true; }, 1h);
        steps.WaitFirst();
    }
    EXPECT_FALSE(ran) << "the end of the thread ran a step an hour early";

    SetUpThread steps([] {}, [&] { ran = true; }, 1h);
    EXPECT_FALSE(steps.SkipSecond());
    // Skipped for good: waiting for it neither runs it nor hangs.
    steps.WaitSecond();
    EXPECT_TRUE(steps.SecondDone());
    EXPECT_FALSE(ran);
}

TEST(SetUpThread, SkippingARunningSecondStepWaitsForItsEnd) {
    std::atomic<bool> begun{false};
    std::atomic<bool> ended{false};
    SetUpThread steps([] {},
                      [&] {
                          begun = true;
                          std::this_thread::sleep_for(30ms);
                          ended = true;
                      },
                      0ms);
    steps.RequestSecond();
    ASSERT_TRUE(WaitUntil([&] { return begun.load(); }));
    EXPECT_TRUE(steps.SkipSecond());
    EXPECT_TRUE(ended);
}

TEST(SetUpThread, EachStepsErrorReachesItsFirstWaiterOnce) {
    SetUpThread steps([] { throw std::runtime_error("first"); },
                      [] { throw std::runtime_error("second"); }, 1h);
    try {
        steps.WaitFirst();
        ADD_FAILURE() << "the first step's error was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_NO_THROW(steps.WaitFirst());
    try {
        steps.WaitSecond();
        ADD_FAILURE() << "the second step's error was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "second");
    }
    EXPECT_NO_THROW(steps.WaitSecond());
}

// Music before and after the sound font is loaded.
class LateMusic : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteTune(Path("ferral.mid"), 72, 1);
        test::WriteTune(Path("gisors.mid"), 81, 2);
    }
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    void Write(const char* name, const QByteArray& bytes) const {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    test::DiskOutput disk;
    QTemporaryDir folder;
};

TEST_F(LateMusic, ASoundFontCutShortMeansNoMusicBeforeAndAfterTheLoad) {
    QFile font(FullSound::DefaultSoundFont);
    ASSERT_TRUE(font.open(QIODevice::ReadOnly));
    Write("short.sf2", font.read(256 * 1024));
    Write("text.sf2", "not a sound font");
    std::string why;
    EXPECT_TRUE(
        MidiSequencer::SoundFontLooksUsable(FullSound::DefaultSoundFont.toStdString(), &why));
    EXPECT_EQ(why, "");
    EXPECT_FALSE(MidiSequencer::SoundFontLooksUsable(Path("short.sf2").toStdString(), &why));
    EXPECT_EQ(why, "The sound font \"" + Path("short.sf2").toStdString() + "\" is incomplete.");
    EXPECT_FALSE(MidiSequencer::SoundFontLooksUsable(Path("text.sf2").toStdString(), &why));
    EXPECT_EQ(why, "\"" + Path("text.sf2").toStdString() + "\" is not a sound font.");

    FullSound sound(folder.path(), Path("short.sf2"), 1h);
    const QString reason =
        QStringLiteral("The sound font \"%1\" is incomplete.").arg(Path("short.sf2"));
    EXPECT_FALSE(sound.MusicCanPlay());
    EXPECT_FALSE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), reason);
    EXPECT_EQ(sound.Sequencer(), nullptr);
    EXPECT_FALSE(sound.MusicCanPlay());
    EXPECT_FALSE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), reason);
    EXPECT_EQ(sound.Audio().BufferCount(), 3);
}

TEST_F(LateMusic, ADefaultTuneThatIsNoTuneInsideMeansNoMusicBeforeAndAfterTheLoad) {
    // A MIDI file's signature over bytes that are no MIDI track.
    Write("ferral.mid", QByteArray("MThd\0\0\0\6\0\0\0\1\1\xe0MTrk\0\0\x09\x04\0\xff", 22));
    std::string why;
    EXPECT_FALSE(MidiSequencer::TuneOpens(Path("ferral.mid").toStdString(), 44100, &why));
    EXPECT_EQ(why, "The MIDI sequencer cannot play \"" + Path("ferral.mid").toStdString() + "\".");
    EXPECT_FALSE(MidiSequencer::TuneOpens(Path("absent.mid").toStdString(), 44100, &why));
    EXPECT_EQ(why, "The tune \"" + Path("absent.mid").toStdString() + "\" was not found.");
    EXPECT_TRUE(MidiSequencer::TuneOpens(Path("gisors.mid").toStdString(), 44100));

    FullSound sound(folder.path(), FullSound::DefaultSoundFont, 1h);
    const QString reason =
        QStringLiteral("The MIDI sequencer cannot play \"%1\".").arg(Path("ferral.mid"));
    EXPECT_FALSE(sound.MusicCanPlay());
    EXPECT_TRUE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), reason);
    ASSERT_NE(sound.Sequencer(), nullptr);
    EXPECT_FALSE(sound.Sequencer()->IsOpen());
    EXPECT_FALSE(sound.MusicCanPlay());
    EXPECT_TRUE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), reason);
    // The other tunes still play once music is switched on.
    QString error;
    EXPECT_TRUE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error)) << error.toStdString();
}

TEST_F(LateMusic, TheAnswersBeforeTheLoadAreTheAnswersAfterIt) {
    FullSound sound(folder.path(), FullSound::DefaultSoundFont, 1h);
    EXPECT_TRUE(sound.MusicCanPlay());
    EXPECT_TRUE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), QString());
    sound.WaitMusic();
    EXPECT_TRUE(sound.MusicCanPlay());
    EXPECT_TRUE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), QString());
    ASSERT_NE(sound.Sequencer(), nullptr);
    EXPECT_EQ(sound.Sequencer()->State(), MidiSequencer::Mode::Stopped);
    EXPECT_EQ(sound.Sequencer()->Length(), 480);
}

// Only the load itself can tell this sound font is broken inside: the control
// the checks let start-up enable goes grey, and no tune is found, as if the
// load had come first.
TEST_F(LateMusic, ASoundFontBrokenInsideGreysTheControlOnceLoaded) {
    QByteArray bogus("RIFF\0\0\0\0sfbk", 12);
    bogus.append(4096, '\x5a');
    const auto size = static_cast<std::uint32_t>(bogus.size() - 8);
    for (int i = 0; i < 4; ++i)
        bogus[4 + i] = static_cast<char>(size >> (8 * i));
    Write("bogus.sf2", bogus);

    QWidget window;
    FullSound sound(folder.path(), Path("bogus.sf2"), 20ms);
    QWidget* control = sound.CreateMediaControl(&window);
    ASSERT_TRUE(sound.MusicCanPlay());
    sound.EnableMusic();
    EXPECT_TRUE(control->isEnabled());
    // The tick notices the end of the load without waiting for it.
    ASSERT_TRUE(WaitUntil([&] {
        sound.MusicStep();
        return !control->isEnabled();
    }));
    EXPECT_FALSE(sound.MusicCanPlay());
    // Music as a whole is off now, and the window can say why.
    EXPECT_FALSE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(),
              QStringLiteral("The sound font \"%1\" could not be read.").arg(Path("bogus.sf2")));
    EXPECT_FALSE(sound.TuneExists(QStringLiteral("gisors.mid")));
    QString error;
    EXPECT_FALSE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error));
    EXPECT_EQ(sound.Audio().BufferCount(), 3);
}

// With music off the game asks whether there is sound and plays its effects:
// the sound font is not opened at all, not even to check it. Switched on, at
// start (EnableMusic) or later in play (the tick's step), music has the sound
// font loaded by itself, nobody waiting for it.
TEST_F(LateMusic, MusicOffTouchesNoSoundFontAndMusicSwitchedOnLoadsIt) {
    const QString font = Path("font.sf2");
    ASSERT_TRUE(QFile::copy(FullSound::DefaultSoundFont, font));
    for (const bool atStart : {true, false}) {
        SCOPED_TRACE(atStart ? "switched on at start" : "switched on in play");
        test::OpenCounter opens(font);
        ASSERT_TRUE(opens.Ok());
        FullSound sound(folder.path(), font, 0ms);
        EXPECT_EQ(sound.UnavailableReason(), QString());
        sound.PlayEffect(SoundAccepted);
        EXPECT_EQ(sound.CurrentTune(), QString());
        // A load due at once would long have begun.
        QTest::qWait(100);
        EXPECT_EQ(opens.Opens(), 0);

        if (atStart)
            sound.EnableMusic();
        else
            sound.MusicStep();
        // The checks read the header at once; the load opens the file again.
        const int checked = opens.Opens();
        EXPECT_GT(checked, 0);
        EXPECT_TRUE(WaitUntil([&] { return opens.Opens() > checked; }));
        ASSERT_NE(sound.Sequencer(), nullptr);
        EXPECT_EQ(sound.CurrentTune(), QStringLiteral("ferral.mid"));
    }
}

TEST_F(LateMusic, ClosingBeforeTheLoadLoadsNothing) {
    FullSound sound(folder.path(), FullSound::DefaultSoundFont, 1h);
    ASSERT_TRUE(sound.MusicCanPlay());
    sound.CloseMusic();
    EXPECT_EQ(sound.Sequencer(), nullptr);
    sound.MusicStep();
    EXPECT_EQ(sound.Sequencer(), nullptr);
}

} // namespace
} // namespace mirelo

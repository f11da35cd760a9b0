// The tunes: opening, looping, choosing, pausing, and what happens when a tune,
// the sound font or the device is missing. The tests write tunes of their own,
// a single held note each, so a loop takes half a second of sound.
#include "AudioDevice.h"
#include "AudioTestSupport.h"
#include "FullSound.h"
#include "MediaControl.h"
#include "MidiSequencer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace mirelo {
namespace {

using Mode = MidiSequencer::Mode;
using test::DeviceChannels;
using test::DeviceRate;
using test::DiskOutput;
using test::WaitUntil;

constexpr int FerralKey = 72; // C5, about 523 Hz
constexpr int GisorsKey = 81; // A5, 880 Hz
// Another instrument than Ferral's, so that switching loads its samples.
constexpr int GisorsProgram = 19; // church organ

class Music : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteTune(folder.filePath(QStringLiteral("ferral.mid")), FerralKey, 1);
        test::WriteTune(folder.filePath(QStringLiteral("gisors.mid")), GisorsKey, 2, GisorsProgram);
        QFile broken(folder.filePath(QStringLiteral("broken.mid")));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a tune at all");
    }
    static QString Name(const MidiSequencer& s) {
        return QString::fromStdString(s.FileName()).section(QLatin1Char('/'), -1);
    }
    // Counts how often the position jumps back to the start while waiting.
    static int CountLoops(const MidiSequencer& s, int wanted, int timeoutMs = 8000) {
        int loops = 0;
        int last = s.Position();
        WaitUntil(
            [&] {
                const int now = s.Position();
                if (now < last)
                    ++loops;
                last = now;
                return loops >= wanted;
            },
            timeoutMs);
        return loops;
    }

    DiskOutput disk;
    QTemporaryDir folder;
};

TEST_F(Music, StartUpOpensTheDefaultTuneStoppedAndTheControlDisabled) {
    FullSound sound(folder.path());
    ASSERT_TRUE(sound.MusicCanPlay());
    MidiSequencer& seq = *sound.Sequencer();
    EXPECT_EQ(Name(seq), QStringLiteral("ferral.mid"));
    EXPECT_EQ(seq.State(), Mode::Stopped);
    EXPECT_EQ(seq.Start(), 0);
    EXPECT_EQ(seq.Length(), 480);
    EXPECT_FALSE(seq.EndReached());

    QWidget window;
    QWidget* control = sound.CreateMediaControl(&window);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget(), &window);
    EXPECT_EQ(control->size(), QSize(57, 25));
    EXPECT_EQ(control->toolTip(), QStringLiteral(" Music control "));
    EXPECT_FALSE(control->isEnabled());
    EXPECT_NE(control->findChild<QToolButton*>(QStringLiteral("Play")), nullptr);
    EXPECT_NE(control->findChild<QToolButton*>(QStringLiteral("Pause")), nullptr);
    sound.EnableMusic();
    EXPECT_TRUE(control->isEnabled());
    // Enabling music starts nothing.
    EXPECT_EQ(seq.State(), Mode::Stopped);
}

// The 640-pixel window has no control on show: the tune must loop without it.
TEST_F(Music, ATuneLoopsWithoutAnyActionAndWithoutTheControl) {
    FullSound sound(folder.path());
    sound.EnableMusic();
    QString error;
    ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("ferral.mid"), &error)) << error.toStdString();
    EXPECT_EQ(sound.Sequencer()->State(), Mode::Playing);
    // Only the end notice restarts it here: the timer's step is never called.
    EXPECT_GE(CountLoops(*sound.Sequencer(), 3), 3);
}

TEST_F(Music, WithoutTheNoticeTheTimerStepRestartsAFinishedTune) {
    FullSound sound(folder.path());
    QString error;
    ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("ferral.mid"), &error));
    MidiSequencer& seq = *sound.Sequencer();
    ASSERT_TRUE(WaitUntil([&] { return seq.EndReached(); }));
    // Nobody asked for the end notice, so the tune stays finished.
    QTest::qWait(50);
    EXPECT_TRUE(seq.EndReached());
    sound.MusicStep();
    ASSERT_TRUE(WaitUntil([&] { return seq.Position() < seq.Length(); }));
    EXPECT_EQ(seq.State(), Mode::Playing);
    // The step also asked for the notice: from now on it loops by itself.
    EXPECT_GE(CountLoops(seq, 2), 2);
}

// The sound font's samples are read an instrument at a time, when a tune
// selects it: the switch reads the new tune's instrument, which then sounds.
TEST_F(Music, GisorsReplacesFerral) {
    const QString font = folder.filePath(QStringLiteral("font.sf2"));
    ASSERT_TRUE(QFile::copy(FullSound::DefaultSoundFont, font));
    test::OpenCounter opens(font);
    ASSERT_TRUE(opens.Ok());
    {
        FullSound sound(folder.path(), font);
        QString error;
        ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("ferral.mid"), &error));
        MidiSequencer& seq = *sound.Sequencer();
        ASSERT_TRUE(WaitUntil([&] { return seq.Position() > 120; }));
        const int opensBefore = opens.Opens();
        int startedAt = -1;
        {
            // The mixer cannot run while the device is held, so the position
            // read right after the switch is where the new tune starts, however
            // busy the machine is.
            DeviceLock hold(*sound.Audio().Device());
            ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error))
                << error.toStdString();
            startedAt = seq.Position();
        }
        EXPECT_EQ(startedAt, 0);
        EXPECT_GT(opens.Opens(), opensBefore) << "the new instrument was not read at the switch";
        EXPECT_EQ(Name(seq), QStringLiteral("gisors.mid"));
        EXPECT_EQ(seq.Length(), 960);
        EXPECT_EQ(seq.State(), Mode::Playing);
        // And it plays on into its one held note.
        ASSERT_TRUE(WaitUntil([&] { return seq.Position() > 240; }));
    }
    // The last sound written is Gisors' A, not Ferral's C.
    const std::vector<std::int16_t> out = disk.Samples();
    const double a = test::ToneEnergy(out, DeviceChannels, DeviceRate, 880.0, 4096);
    const double c = test::ToneEnergy(out, DeviceChannels, DeviceRate, 523.25, 4096);
    EXPECT_GT(a, 10 * c);
}

TEST_F(Music, ChoosingTheSameTuneRestartsIt) {
    FullSound sound(folder.path());
    QString error;
    ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error)) << error.toStdString();
    MidiSequencer& seq = *sound.Sequencer();
    ASSERT_TRUE(WaitUntil([&] { return seq.Position() > 600; }));
    int startedAt = -1;
    {
        DeviceLock hold(*sound.Audio().Device()); // no mixing between the two calls
        ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error))
            << error.toStdString();
        startedAt = seq.Position();
    }
    EXPECT_EQ(startedAt, 0);
    ASSERT_TRUE(WaitUntil([&] { return seq.Position() > 0; }));
}

TEST_F(Music, AMissingTuneChangesNothing) {
    FullSound sound(folder.path());
    QString error;
    ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error)) << error.toStdString();
    EXPECT_TRUE(sound.TuneExists(QStringLiteral("gisors.mid")));
    EXPECT_FALSE(sound.TuneExists(QStringLiteral("mirelo.mid")));
    EXPECT_FALSE(sound.SelectedMusic(QStringLiteral("mirelo.mid"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("mirelo.mid"))) << error.toStdString();
    EXPECT_EQ(Name(*sound.Sequencer()), QStringLiteral("gisors.mid"));
    EXPECT_EQ(sound.Sequencer()->State(), Mode::Playing);
}

// A tune that cannot be played is found out before the one in play is
// touched: that one plays on, where it stood, and is the one reported open.
TEST_F(Music, AnUnplayableTuneIsReportedAndTheTuneInPlayGoesOn) {
    // A MIDI file's signature over bytes that are no MIDI track.
    QFile noTrack(folder.filePath(QStringLiteral("notrack.mid")));
    ASSERT_TRUE(noTrack.open(QIODevice::WriteOnly));
    noTrack.write(QByteArray("MThd\0\0\0\6\0\0\0\1\1\xe0MTrk\0\0\x09\x04\0\xff", 22));
    noTrack.close();

    FullSound sound(folder.path());
    QString error;
    ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error)) << error.toStdString();
    MidiSequencer& seq = *sound.Sequencer();
    ASSERT_TRUE(WaitUntil([&] { return seq.Position() > 120; }));
    const std::vector<std::pair<QString, QString>> cases{
        {QStringLiteral("broken.mid"), QStringLiteral("\"%1\" is not a MIDI file.")},
        {QStringLiteral("notrack.mid"), QStringLiteral("The MIDI sequencer cannot play \"%1\".")}};
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(sound.TuneExists(name));
        int before = -1;
        int after = -1;
        {
            DeviceLock hold(*sound.Audio().Device()); // no mixing between the reads
            before = seq.Position();
            error.clear();
            EXPECT_FALSE(sound.SelectedMusic(name, &error));
            after = seq.Position();
        }
        EXPECT_EQ(error, text.arg(folder.filePath(name)));
        EXPECT_EQ(after, before);
        EXPECT_EQ(Name(seq), QStringLiteral("gisors.mid"));
        EXPECT_EQ(seq.State(), Mode::Playing);
        EXPECT_EQ(sound.CurrentTune(), QStringLiteral("gisors.mid"));
    }
    sound.MusicStep();
    EXPECT_EQ(sound.CurrentTune(), QStringLiteral("gisors.mid"));
    EXPECT_EQ(seq.State(), Mode::Playing);
}

// "Play music" on with no tune open: the step opens the default tune before
// it asks the device anything, and starts nothing.
TEST_F(Music, TheStepOpensTheDefaultTuneWhenNoneIsOpen) {
    const QString ferral = folder.filePath(QStringLiteral("ferral.mid"));
    ASSERT_TRUE(QFile::rename(ferral, folder.filePath(QStringLiteral("away.mid"))));
    FullSound sound(folder.path());
    sound.WaitMusic();
    EXPECT_EQ(sound.CurrentTune(), QString());
    ASSERT_TRUE(QFile::rename(folder.filePath(QStringLiteral("away.mid")), ferral));
    sound.MusicStep();
    ASSERT_TRUE(sound.Sequencer()->IsOpen());
    EXPECT_EQ(sound.CurrentTune(), QStringLiteral("ferral.mid"));
    EXPECT_EQ(sound.Sequencer()->State(), Mode::Stopped);
}

TEST_F(Music, NoDefaultTuneMeansNoMusicAtStartButTheGameRuns) {
    QFile::remove(folder.filePath(QStringLiteral("ferral.mid")));
    FullSound sound(folder.path());
    EXPECT_FALSE(sound.MusicCanPlay());
    EXPECT_EQ(sound.UnavailableReason(), QString());
    // Other tunes can play; why the default cannot names its file, before the
    // sound font is loaded and after.
    const QString why = QStringLiteral("The tune \"%1\" was not found.")
                            .arg(folder.filePath(QStringLiteral("ferral.mid")));
    EXPECT_TRUE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), why);
    sound.WaitMusic();
    EXPECT_TRUE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), why);
    EXPECT_EQ(sound.Audio().BufferCount(), 3);
    for (int tick = 0; tick < 3; ++tick)
        sound.MusicStep();
    EXPECT_FALSE(sound.Sequencer()->IsOpen());
    // Another tune can still be chosen once music is switched on.
    QString error;
    EXPECT_TRUE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error));
    EXPECT_EQ(sound.CurrentTune(), QStringLiteral("gisors.mid"));
}

TEST_F(Music, NoSoundFontMeansNoMusicButTheEffectsStay) {
    const QString font = folder.filePath(QStringLiteral("absent.sf2"));
    FullSound sound(folder.path(), font);
    EXPECT_FALSE(sound.MusicCanPlay());
    EXPECT_FALSE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(),
              QStringLiteral("The sound font \"%1\" was not found.").arg(font));
    EXPECT_EQ(sound.Sequencer(), nullptr);
    EXPECT_FALSE(sound.TuneExists(QStringLiteral("ferral.mid")));
    QString error;
    EXPECT_FALSE(sound.SelectedMusic(QStringLiteral("ferral.mid"), &error));
    sound.MusicStep();
    EXPECT_EQ(sound.Audio().BufferCount(), 3);
    EXPECT_EQ(sound.UnavailableReason(), QString());
    EXPECT_FALSE(sound.MusicPossible());
    EXPECT_EQ(sound.CurrentTune(), QString());
}

TEST_F(Music, PauseButtonPausesAndResumesPlayButtonRestartsAtTheEnd) {
    FullSound sound(folder.path());
    auto* control = static_cast<MediaControl*>(sound.CreateMediaControl(nullptr));
    std::unique_ptr<QWidget> owner(control);
    // Enabled by hand: EnableMusic would also ask for the end notice.
    control->setEnabled(true);
    MidiSequencer& seq = *sound.Sequencer();

    control->PlayButton()->click();
    EXPECT_EQ(seq.State(), Mode::Playing);
    ASSERT_TRUE(WaitUntil([&] { return seq.Position() > 100; }));
    control->PauseButton()->click();
    EXPECT_EQ(seq.State(), Mode::Paused);
    const int paused = seq.Position();
    QTest::qWait(30);
    EXPECT_EQ(seq.Position(), paused);
    control->PauseButton()->click();
    EXPECT_EQ(seq.State(), Mode::Playing);
    ASSERT_TRUE(WaitUntil([&] { return seq.Position() > paused; }));

    // At the end, Play goes back to the start.
    ASSERT_TRUE(WaitUntil([&] { return seq.EndReached(); }));
    control->PlayButton()->click();
    ASSERT_TRUE(WaitUntil([&] { return seq.Position() < seq.Length(); }));
    EXPECT_EQ(seq.State(), Mode::Playing);
}

// A paused tune sounds nothing, so the device is closed under it; resumed, it
// opens the device again and goes on from where it stood.
TEST_F(Music, APausedTuneLetsTheDeviceCloseAndGoesOnWhereItStood) {
    FullSound sound(folder.path());
    AudioDevice& device = *sound.Audio().Device();
    device.SetIdleTime(std::chrono::milliseconds(10));
    auto* control = static_cast<MediaControl*>(sound.CreateMediaControl(nullptr));
    std::unique_ptr<QWidget> owner(control);
    control->setEnabled(true);
    QString error;
    ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("gisors.mid"), &error)) << error.toStdString();
    MidiSequencer& seq = *sound.Sequencer();
    ASSERT_TRUE(WaitUntil([&] { return seq.Position() > 120; }));
    // Many idle times long: a tune that sounds keeps the device open.
    QTest::qWait(60);
    EXPECT_TRUE(device.Running());

    control->PauseButton()->click();
    ASSERT_TRUE(WaitUntil([&] { return !device.Running(); }));
    const int paused = seq.Position();
    EXPECT_LT(paused, seq.Length());
    control->PauseButton()->click();
    EXPECT_TRUE(WaitUntil([&] { return device.Running(); }));
    // Nobody asked for the end notice, so nothing takes the tune back to its
    // start: it moves on from `paused`, never from before it.
    EXPECT_GE(seq.Position(), paused);
    EXPECT_TRUE(WaitUntil([&] { return seq.Position() > paused; }));
}

// The tunes the game ships, from the folder the build copies beside the programs.
TEST(ShippedTunes, AllFourOpenAndSound) {
    DiskOutput disk;
    {
        FullSound sound(QStringLiteral(MIRELO_ASSETS_DIR "/tunes"));
        ASSERT_TRUE(sound.MusicCanPlay());
        for (const char* name : {"ferral.mid", "gokuraku.mid", "mirelo.mid", "gisors.mid"}) {
            SCOPED_TRACE(name);
            QString error;
            EXPECT_TRUE(sound.TuneExists(QString::fromLatin1(name)));
            ASSERT_TRUE(sound.SelectedMusic(QString::fromLatin1(name), &error))
                << error.toStdString();
            MidiSequencer& seq = *sound.Sequencer();
            // A minute at least, even at the fastest tempo the tunes use (128 a minute).
            EXPECT_GE(seq.Length(), 128 * 480);
            ASSERT_TRUE(WaitUntil([&] { return seq.Position() > 4 * 480; }));
        }
    }
    const std::vector<std::int16_t> out = disk.Samples();
    double sum = 0;
    int peak = 0;
    for (std::int16_t v : out) {
        sum += static_cast<double>(v) * v;
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    }
    // Clearly heard, and never at full scale: the effects must still stand out.
    EXPECT_GT(std::sqrt(sum / static_cast<double>(out.size())), 300.0);
    EXPECT_LT(peak, 30000);
}

TEST_F(Music, TheControlOutlivingTheSoundDoesNothing) {
    QWidget window;
    MediaControl* control = nullptr;
    {
        FullSound sound(folder.path());
        control = static_cast<MediaControl*>(sound.CreateMediaControl(&window));
        sound.EnableMusic();
        EXPECT_TRUE(control->isEnabled());
    }
    EXPECT_FALSE(control->isEnabled());
    control->setEnabled(true);
    control->PlayButton()->click(); // must not reach the destroyed sound
    control->PauseButton()->click();
}

TEST_F(Music, CloseMusicStopsForGood) {
    FullSound sound(folder.path());
    sound.EnableMusic();
    QString error;
    ASSERT_TRUE(sound.SelectedMusic(QStringLiteral("ferral.mid"), &error));
    sound.CloseMusic();
    EXPECT_FALSE(sound.Sequencer()->IsOpen());
    // A tick after the close must not open anything again.
    sound.MusicStep();
    EXPECT_FALSE(sound.Sequencer()->IsOpen());
    QTest::qWait(20);
}

} // namespace
} // namespace mirelo

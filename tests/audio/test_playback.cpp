// The three effects through the sound device, checked against what SDL's disk
// driver wrote: the exact mixed output stream.
#include "AudioDevice.h"
#include "AudioTestSupport.h"
#include "FullSound.h"
#include "SoundError.h"
#include "TDGCAudio.h"
#include "TDGCSoundBuffer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace mirelo {
namespace {

using test::DeviceChannels;
using test::DiskOutput;
using test::FindPlacement;
using test::WaitUntil;

using Clip = std::vector<std::int16_t>;

Clip Samples(FullSound& sound, int index) {
    const auto s = sound.Audio().Sound(index)->Samples();
    return {s.begin(), s.end()};
}

bool Silent(FullSound& sound) {
    for (int i = 0; i < sound.Audio().BufferCount(); ++i) {
        if (sound.Audio().Sound(i)->Playing())
            return false;
    }
    return true;
}

class Effects : public ::testing::Test {
protected:
    DiskOutput disk;
    QTemporaryDir folder; // no tunes: the effects alone
};

TEST_F(Effects, EmbeddedLibraryBecomesThreeBuffers) {
    FullSound sound(folder.path());
    EXPECT_TRUE(sound.HasSound());
    EXPECT_EQ(sound.UnavailableReason(), QString());
    ASSERT_EQ(sound.Library().Count(), 3);
    EXPECT_EQ(sound.Library().FileName(), "");
    ASSERT_EQ(sound.Audio().BufferCount(), 3);
    EXPECT_EQ(sound.Audio().Device()->DriverName(), "disk");
    const int sizes[] = {1368, 5922, 1086};
    for (int i = 0; i < 3; ++i) {
        const TDGCSoundBuffer* b = sound.Audio().Sound(i);
        EXPECT_EQ(b->Size(), sizes[i]);
        EXPECT_EQ(b->Channels(), 1);
        EXPECT_EQ(b->BitsPerSample(), 16);
        // Converted once to the device's rate: the same length in time.
        EXPECT_NEAR(b->Frames(), sizes[i] / 2 * test::DeviceRate / 8000, 16);
        EXPECT_FALSE(b->Playing());
    }
}

// An open device wakes every period even with nothing to play, so an idle one
// is closed; the next sound opens it again and is heard whole, at once.
TEST_F(Effects, AnIdleDeviceClosesAndTheNextSoundOpensItAndSoundsWhole) {
    Clip refused;
    {
        FullSound sound(folder.path());
        AudioDevice& device = *sound.Audio().Device();
        device.SetIdleTime(std::chrono::milliseconds(20));
        refused = Samples(sound, SoundRefused);
        // Nothing was asked for: the device closes by itself.
        ASSERT_TRUE(WaitUntil([&] { return !device.Running(); }));
        sound.PlayEffect(SoundRefused);
        ASSERT_TRUE(WaitUntil([&] { return Silent(sound); }));
        // And again once the sound is over.
        ASSERT_TRUE(WaitUntil([&] { return !device.Running(); }));
    }
    // The disk driver starts its file afresh at every open, so this is what the
    // last open wrote: the sound, whole, and silence around it. (How soon it
    // starts is measured by the benchmark.)
    EXPECT_EQ(FindPlacement(disk.Samples(), {refused}, DeviceChannels, 0).size(), 1u)
        << "the output is not sound 2, whole, and silence";
}

TEST_F(Effects, AStoppedSoundNoLongerKeepsTheDeviceOpen) {
    FullSound sound(folder.path());
    AudioDevice& device = *sound.Audio().Device();
    device.SetIdleTime(std::chrono::milliseconds(10));
    ASSERT_TRUE(WaitUntil([&] { return !device.Running(); }));
    TDGCSoundBuffer* removed = sound.Audio().Sound(SoundRemoved);
    removed->Play();
    ASSERT_TRUE(WaitUntil([&] { return device.Running(); }));
    // Stopped before its end: nothing sounds any more.
    removed->Stop();
    ASSERT_TRUE(WaitUntil([&] { return !device.Running(); }));
    EXPECT_FALSE(removed->Playing());
}

TEST_F(Effects, RemovalPlaysAcceptedThenRemovedBothInFull) {
    Clip accepted, removed;
    {
        FullSound sound(folder.path());
        accepted = Samples(sound, SoundAccepted);
        removed = Samples(sound, SoundRemoved);
        // A second pick that completes a pair: sound 0, then at once sound 1.
        sound.PlayEffect(SoundAccepted);
        sound.PlayEffect(SoundRemoved);
        ASSERT_TRUE(WaitUntil([&] { return Silent(sound); }));
    }
    const std::vector<std::int16_t> out = disk.Samples();
    const std::vector<int> starts = FindPlacement(out, {accepted, removed}, DeviceChannels, 4096);
    ASSERT_EQ(starts.size(), 2u) << "the output is not sound 0 and sound 1, whole and added";
    EXPECT_LE(starts[0], starts[1]);
}

TEST_F(Effects, AnotherEffectDoesNotCutOneThatPlays) {
    Clip removed, accepted;
    {
        FullSound sound(folder.path());
        removed = Samples(sound, SoundRemoved);
        accepted = Samples(sound, SoundAccepted);
        sound.PlayEffect(SoundRemoved);
        TDGCSoundBuffer* long1 = sound.Audio().Sound(SoundRemoved);
        ASSERT_TRUE(WaitUntil([&] { return long1->PositionFrames() > long1->Frames() / 3; }));
        sound.PlayEffect(SoundAccepted);
        ASSERT_TRUE(WaitUntil([&] { return Silent(sound); }));
    }
    const std::vector<int> starts =
        FindPlacement(disk.Samples(), {removed, accepted}, DeviceChannels, 1 << 16);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_GT(starts[1] - starts[0], static_cast<int>(removed.size()) / DeviceChannels / 3);
}

TEST_F(Effects, RefusedTwiceRestartsFromTheBeginning) {
    Clip refused;
    std::vector<Clip> heard; // what each attempt should have written, in order
    {
        FullSound sound(folder.path());
        refused = Samples(sound, SoundRefused);
        TDGCSoundBuffer* buffer = sound.Audio().Sound(SoundRefused);
        const AudioDevice& device = *sound.Audio().Device();
        // The second click must land while the first sound plays; a busy machine
        // may let the whole sound go by first, so a few attempts are allowed.
        for (int attempt = 0; attempt < 5; ++attempt) {
            sound.PlayEffect(SoundRefused);
            int cut = 0;
            QElapsedTimer started;
            started.start();
            for (;;) {
                // The lock holds the mixer still between looking and asking again.
                DeviceLock lock(device);
                cut = buffer->PositionFrames();
                if (cut == 0 && started.elapsed() < 5000)
                    continue;
                if (cut > 0 && cut < buffer->Frames())
                    sound.PlayEffect(SoundRefused);
                break;
            }
            ASSERT_GT(cut, 0) << "the sound never started";
            ASSERT_TRUE(WaitUntil([&] { return Silent(sound); }));
            if (cut == buffer->Frames()) {
                heard.push_back(refused);
                continue;
            }
            // The first play up to the click, then the whole sound again, never
            // both at once.
            Clip expected(refused.begin(), refused.begin() + cut * DeviceChannels);
            expected.insert(expected.end(), refused.begin(), refused.end());
            heard.push_back(expected);
            break;
        }
    }
    ASSERT_NE(heard.back(), refused) << "no second click landed while the sound played";
    const std::vector<std::span<const std::int16_t>> clips(heard.begin(), heard.end());
    EXPECT_EQ(FindPlacement(disk.Samples(), clips, DeviceChannels, 1 << 22).size(), heard.size());
}

TEST_F(Effects, PanAndVolumeAreDeviceUnits) {
    Clip accepted;
    {
        FullSound sound(folder.path());
        TDGCSoundBuffer* b = sound.Audio().Sound(SoundAccepted);
        accepted = Samples(sound, SoundAccepted);
        EXPECT_THROW(b->SetPan(10001), SoundError);
        EXPECT_THROW(b->SetVolume(1), SoundError);
        EXPECT_THROW(b->SetVolume(-10001), SoundError);
        // Hard right, 6 dB down.
        b->SetPan(10000);
        b->SetVolume(-602);
        sound.PlayEffect(SoundAccepted);
        ASSERT_TRUE(WaitUntil([&] { return Silent(sound); }));
    }
    const std::vector<std::int16_t> out = disk.Samples();
    int left = 0, right = 0, source = 0;
    for (std::size_t i = 0; i < out.size(); i += 2) {
        left = std::max(left, std::abs(static_cast<int>(out[i])));
        right = std::max(right, std::abs(static_cast<int>(out[i + 1])));
    }
    for (std::int16_t s : accepted)
        source = std::max(source, std::abs(static_cast<int>(s)));
    EXPECT_EQ(left, 0);
    EXPECT_NEAR(right, source / 2, source / 50);
}

TEST_F(Effects, IndicesOutsideTheLibraryPlayNothing) {
    Clip accepted;
    {
        FullSound sound(folder.path());
        accepted = Samples(sound, SoundAccepted);
        sound.PlayEffect(-1);
        sound.PlayEffect(3);
        EXPECT_TRUE(Silent(sound));
        sound.PlayEffect(SoundAccepted);
        ASSERT_TRUE(WaitUntil([&] { return Silent(sound); }));
    }
    // The one sound inside the library, and nothing else.
    EXPECT_EQ(FindPlacement(disk.Samples(), {accepted}, DeviceChannels, 0).size(), 1u);
}

TEST(NoSoundDevice, TheGameGoesOnSilentAndSaysWhy) {
    // A driver that does not exist stands for a machine with no sound at all.
    qputenv("SDL_AUDIODRIVER", "nosuchdriver");
    QTemporaryDir folder;
    test::WriteTune(folder.filePath(QStringLiteral("ferral.mid")), 72, 1);
    FullSound sound(folder.path());
    // The device is looked for on the set-up thread: the driver stays wrong
    // until it has been.
    const QString reason = sound.UnavailableReason();
    qputenv("SDL_AUDIODRIVER", "dummy");
    EXPECT_TRUE(sound.HasSound());
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(sound.UnavailableReason().contains(QStringLiteral("nosuchdriver")))
        << sound.UnavailableReason().toStdString();
    EXPECT_EQ(sound.Audio().BufferCount(), 0);
    sound.PlayEffect(SoundAccepted);
    EXPECT_FALSE(sound.MusicCanPlay());
    EXPECT_FALSE(sound.MusicPossible());
    EXPECT_EQ(sound.MusicUnavailableReason(), sound.UnavailableReason());
    EXPECT_FALSE(sound.TuneExists(QStringLiteral("ferral.mid")));
    QString error;
    EXPECT_FALSE(sound.SelectedMusic(QStringLiteral("ferral.mid"), &error));
    EXPECT_FALSE(error.isEmpty());
    sound.MusicStep();
    sound.CloseMusic();
}

// The components on their own: a device with no library, then with one.
TEST_F(Effects, AudioComponentFollowsItsLibrary) {
    TDGCAudio audio;
    audio.SetUp();
    try {
        audio.Sound(0);
        ADD_FAILURE() << "a sound without a library";
    } catch (const SoundError& e) {
        EXPECT_STREQ(e.what(), "A library must be assigned to SoundLibrary");
    }
    {
        TDGCSoundLib lib;
        std::ifstream in(MIRELO_ASSETS_DIR "/sounds.sl10", std::ios::binary);
        lib.Sounds.ReadData(in);
        audio.SetSoundLibrary(&lib);
        EXPECT_EQ(audio.BufferCount(), 3);
    }
    // The library went away: so did the reference and the buffers.
    EXPECT_EQ(audio.SoundLibrary(), nullptr);
    EXPECT_EQ(audio.BufferCount(), 0);
}

TEST_F(Effects, LibraryFromAFileIsReadAgainToRebuild) {
    TDGCSoundLib lib;
    lib.LoadFromFile(MIRELO_ASSETS_DIR "/sounds.sl10");
    TDGCAudio audio;
    audio.SetSoundLibrary(&lib);
    audio.SetUp();
    ASSERT_EQ(audio.BufferCount(), 3);
    // The samples now live in the buffers only.
    EXPECT_EQ(lib.Count(), 0);
    // A lost buffer's restore rebuilds them all from the file.
    audio.Sound(1)->Restore();
    EXPECT_EQ(audio.BufferCount(), 3);
    audio.Sound(2)->Play();
    EXPECT_TRUE(audio.Sound(2)->Playing());
}

TEST_F(Effects, AFormatTheDeviceCannotTakeIsRefused) {
    TDGCSoundLib lib;
    SoundEntry odd;
    odd.SetName("odd");
    odd.Format.BitsPerSample = 24;
    odd.Format.BlockAlign = 3;
    odd.Data.assign(30, 0);
    lib.Sounds.Add(odd);
    TDGCAudio audio;
    audio.SetSoundLibrary(&lib);
    try {
        audio.SetUp();
        ADD_FAILURE() << "a 24-bit sound was accepted";
    } catch (const SoundError& e) {
        EXPECT_STREQ(e.what(), "CreateSoundBuffer Failed");
    }
    EXPECT_NE(audio.Device(), nullptr);
    EXPECT_EQ(audio.BufferCount(), 0);
}

} // namespace
} // namespace mirelo

// The SL10 sound library stream: what is read, what is refused, and that a
// refused stream never leaves half a collection behind.
#include "SoundError.h"
#include "TDGCSoundLib.h"
#include "TDGCSounds.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace mirelo {
namespace {

SoundEntry MakeSound(const std::string& name, int bytes, std::uint8_t fill, int pan = 0,
                     int volume = 0) {
    SoundEntry e;
    e.SetName(name);
    e.Pan = pan;
    e.Volume = volume;
    e.Data.assign(static_cast<std::size_t>(bytes), fill);
    for (int i = 0; i < bytes; ++i)
        e.Data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(fill + i * 7);
    e.Size = bytes;
    return e;
}

std::string Stream(const TDGCSounds& sounds) {
    std::ostringstream out;
    sounds.WriteData(out);
    return out.str();
}

std::string TwoSoundStream() {
    TDGCSounds sounds;
    SoundEntry a = MakeSound("alpha", 10, 1, -2500, -300);
    SoundEntry b = MakeSound("a-long-name", 5, 200, 10000, 0);
    b.Format.Channels = 2;
    b.Format.BitsPerSample = 8;
    b.Format.BlockAlign = 2;
    b.Format.SamplesPerSec = 22050;
    b.Format.AvgBytesPerSec = 44100;
    sounds.Add(a);
    sounds.Add(b);
    return Stream(sounds);
}

// Reads `bytes` and returns the message of the error it raised, "" when none.
std::string ReadError(TDGCSounds& sounds, const std::string& bytes) {
    try {
        sounds.ReadData(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const SoundError& e) {
        return e.what();
    }
    return {};
}

void PutLe32(std::string& s, std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] =
            static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i));
}

TEST(SoundLibraryStream, RoundTripKeepsEveryFieldAndByte) {
    const std::string bytes = TwoSoundStream();
    ASSERT_EQ(bytes.size(), 8u + 2 * 44 + 10 + 5);
    TDGCSounds read;
    ASSERT_EQ(ReadError(read, bytes), "");
    ASSERT_EQ(read.Count(), 2);
    const SoundEntry b = read.Entry(1);
    EXPECT_EQ(b.NameText(), "a-long-name");
    EXPECT_EQ(b.Format.Channels, 2);
    EXPECT_EQ(b.Format.SamplesPerSec, 22050u);
    EXPECT_EQ(b.Pan, 10000);
    EXPECT_EQ(read.Entry(0).Volume, -300);
    EXPECT_EQ(read.Entry(0).Pan, -2500);
    EXPECT_EQ(Stream(read), bytes);
}

TEST(SoundLibraryStream, SignatureIgnoresLetterCase) {
    for (const char* signature : {"sl10", "Sl10", "sL10"}) {
        std::string bytes = TwoSoundStream();
        bytes.replace(0, 4, signature);
        TDGCSounds read;
        EXPECT_EQ(ReadError(read, bytes), "") << signature;
        EXPECT_EQ(read.Count(), 2) << signature;
        // Written back as it was read.
        EXPECT_EQ(Stream(read).substr(0, 4), signature);
    }
}

TEST(SoundLibraryStream, RefusedStreamsLeaveAnEmptyCollection) {
    const std::string good = TwoSoundStream();
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    std::vector<Case> cases;
    for (const char* signature : {"SL11", "RIFF", "SL1\0", "LS10"}) {
        std::string b = good;
        b.replace(0, 4, std::string(signature, 4));
        cases.push_back({"signature", b, NotASoundLibraryText});
    }
    std::string none = good.substr(0, 8);
    PutLe32(none, 4, 0);
    cases.push_back({"no sounds", none, NoSoundsText});
    std::string negative = good;
    PutLe32(negative, 4, -3);
    cases.push_back({"negative count", negative, NoSoundsText});
    std::string empty = good;
    PutLe32(empty, 8 + 44 + 10 + 40, 0); // the second sound holds 0 bytes
    cases.push_back({"0-byte second sound", empty, NoSoundDataText});
    std::string negativeSize = good;
    PutLe32(negativeSize, 8 + 40, -1);
    cases.push_back({"negative size", negativeSize, NoSoundDataText});
    // A damaged or hostile count or size is refused before anything is reserved:
    // reserving it would throw std::bad_alloc instead.
    std::string hugeCount = good;
    PutLe32(hugeCount, 4, 0x7fffffff);
    cases.push_back({"huge count", hugeCount, StreamReadErrorText});
    std::string hugeSize = good;
    PutLe32(hugeSize, 8 + 40, 0x7fffffff);
    cases.push_back({"huge size", hugeSize, StreamReadErrorText});
    std::string oneMore = good;
    PutLe32(oneMore, 4, 3);
    cases.push_back({"count beyond the stream", oneMore, StreamReadErrorText});

    for (const Case& c : cases) {
        TDGCSounds sounds;
        ASSERT_EQ(ReadError(sounds, good), "");
        EXPECT_EQ(ReadError(sounds, c.bytes), c.message) << c.what;
        EXPECT_EQ(sounds.Count(), 0) << c.what;
        EXPECT_TRUE(sounds.FSounds().empty()) << c.what;
    }
}

TEST(SoundLibraryStream, EveryTruncationIsAReadError) {
    const std::string good = TwoSoundStream();
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        TDGCSounds sounds;
        EXPECT_EQ(ReadError(sounds, good.substr(0, cut)), StreamReadErrorText) << cut;
        EXPECT_EQ(sounds.Count(), 0) << cut;
    }
}

TEST(SoundLibraryStream, ReadsFromTheStreamPositionAndStopsAfterTheLibrary) {
    const std::string library = TwoSoundStream();
    std::istringstream in("junk" + library + "tail");
    in.seekg(4);
    TDGCSounds sounds;
    sounds.ReadData(in);
    EXPECT_EQ(sounds.Count(), 2);
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "tail");
}

TEST(SoundLibraryStream, AssignToCopiesDeeply) {
    TDGCSounds source;
    ASSERT_EQ(ReadError(source, TwoSoundStream()), "");
    TDGCSounds copy;
    source.AssignTo(copy);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Entry(0), source.Entry(0));
    source.Clear();
    EXPECT_EQ(source.Count(), 0);
    EXPECT_EQ(copy.Entry(1).Data.size(), 5u);
}

TEST(SoundLibraryComponent, LoadsRemembersAndReloadsItsFile) {
    TDGCSoundLib lib;
    EXPECT_EQ(lib.Count(), 0);
    try {
        lib.Reload();
        ADD_FAILURE() << "Reload without a file";
    } catch (const SoundError& e) {
        EXPECT_STREQ(e.what(), "LoadFromFile must be called first");
    }
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("lib.sl10")).toStdString();
    { std::ofstream(path, std::ios::binary) << TwoSoundStream(); }
    lib.LoadFromFile(path);
    EXPECT_EQ(lib.FileName(), path);
    EXPECT_EQ(lib.Count(), 2);

    // Reload reads the file as it is now.
    TDGCSounds one;
    one.Add(MakeSound("solo", 4, 9));
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        one.WriteData(out);
    }
    lib.Reload();
    EXPECT_EQ(lib.Count(), 1);
    EXPECT_EQ(lib.Sounds.Entry(0).NameText(), "solo");

    // A file that is not there: an error, no name kept, nothing loaded.
    EXPECT_THROW(lib.LoadFromFile(dir.filePath(QStringLiteral("absent.sl10")).toStdString()),
                 SoundError);
    EXPECT_EQ(lib.FileName(), "");
    EXPECT_EQ(lib.Count(), 0);
}

// The library the game carries: three 16-bit mono sounds at 8000 Hz.
TEST(EmbeddedSoundLibrary, HoldsTheThreeEffects) {
    std::ifstream in(MIRELO_ASSETS_DIR "/sounds.sl10", std::ios::binary);
    ASSERT_TRUE(in);
    in.seekg(0, std::ios::end);
    EXPECT_EQ(in.tellg(), 8516);
    in.seekg(0);
    TDGCSounds sounds;
    sounds.ReadData(in);
    ASSERT_EQ(sounds.Count(), 3);
    const struct {
        const char* name;
        int size;
    } expected[] = {{"selectil", 1368}, {"enlever", 5922}, {"impossib", 1086}};
    for (int i = 0; i < 3; ++i) {
        const SoundEntry e = sounds.Entry(i);
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(e.NameText(), expected[i].name);
        EXPECT_EQ(e.Size, expected[i].size);
        EXPECT_EQ(e.Format.FormatTag, 1);
        EXPECT_EQ(e.Format.Channels, 1);
        EXPECT_EQ(e.Format.SamplesPerSec, 8000u);
        EXPECT_EQ(e.Format.AvgBytesPerSec, 16000u);
        EXPECT_EQ(e.Format.BlockAlign, 2);
        EXPECT_EQ(e.Format.BitsPerSample, 16);
        EXPECT_EQ(e.Format.ExtraSize, 0);
        EXPECT_EQ(e.Format.Padding, 0);
        EXPECT_EQ(e.Pan, 0);
        EXPECT_EQ(e.Volume, 0);
        for (std::size_t c = e.NameLength; c < e.Name.size(); ++c)
            EXPECT_EQ(e.Name[c], '\0');
    }
}

std::int16_t Sample(const SoundEntry& e, std::size_t i) {
    return static_cast<std::int16_t>(e.Data[2 * i] | e.Data[2 * i + 1] << 8);
}

int Peak(const SoundEntry& e, double from, double to) {
    const std::size_t n = e.Data.size() / 2;
    int peak = 0;
    for (auto i = static_cast<std::size_t>(from * static_cast<double>(n));
         i < static_cast<std::size_t>(to * static_cast<double>(n)); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(Sample(e, i))));
    return peak;
}

// Rough pitch of a stretch of 16-bit mono samples, from its zero crossings.
double Pitch(const SoundEntry& e, double from, double to) {
    const std::size_t n = e.Data.size() / 2;
    const auto a = static_cast<std::size_t>(from * static_cast<double>(n));
    const auto b = static_cast<std::size_t>(to * static_cast<double>(n));
    int crossings = 0;
    for (std::size_t i = a + 1; i < b; ++i) {
        if ((Sample(e, i - 1) < 0) != (Sample(e, i) < 0))
            ++crossings;
    }
    return crossings / 2.0 / (static_cast<double>(b - a) / 8000.0);
}

TEST(EmbeddedSoundLibrary, EffectsHaveTheirCharacter) {
    std::ifstream in(MIRELO_ASSETS_DIR "/sounds.sl10", std::ios::binary);
    TDGCSounds sounds;
    sounds.ReadData(in);
    ASSERT_EQ(sounds.Count(), 3);
    // Accepted: rising from about 1 kHz to about 2 kHz.
    EXPECT_NEAR(Pitch(sounds.Entry(0), 0.0, 0.25), 1200, 250);
    EXPECT_NEAR(Pitch(sounds.Entry(0), 0.75, 1.0), 1900, 250);
    // Removed: falling from about 1 kHz to about 650 Hz.
    EXPECT_NEAR(Pitch(sounds.Entry(1), 0.0, 0.2), 950, 120);
    EXPECT_NEAR(Pitch(sounds.Entry(1), 0.8, 1.0), 660, 80);
    EXPECT_LT(Peak(sounds.Entry(1), 0.8, 1.0) * 3, Peak(sounds.Entry(1), 0.0, 0.2));
    // Refused: a steady tone near 1 kHz.
    EXPECT_NEAR(Pitch(sounds.Entry(2), 0.1, 0.9), 1000, 60);
    EXPECT_GT(Peak(sounds.Entry(2), 0.0, 1.0), Peak(sounds.Entry(0), 0.0, 1.0));
    EXPECT_GT(Peak(sounds.Entry(2), 0.0, 1.0), 22000);
}

} // namespace
} // namespace mirelo

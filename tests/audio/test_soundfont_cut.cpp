// The sound font cut down to the tunes' presets: the shipped tunes sound
// sample for sample as with the whole font, and whatever the cut cannot serve
// (a font it cannot read, a tune with other instruments) gets the whole font.
#include "AudioDevice.h"
#include "AudioTestSupport.h"
#include "CutFontLoader.h"
#include "FullSound.h"
#include "MidiSequencer.h"
#include "SoundFontCutter.h"
#include "SoundLibraries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace mirelo {
namespace {

const std::string SoundFont = FullSound::DefaultSoundFont.toStdString();
const std::string Tunes = MIRELO_ASSETS_DIR "/tunes";

// The frames the mixer asks for at a time on most devices.
constexpr int Period = 512;
// Longer than any tune: a render that reaches it has missed the tune's end.
constexpr int MaxSeconds = 300;

// What the sequencer renders of `tune` from its start, as the mixer would
// have it, with the font it was made with: `seconds` of it, or all of it to
// its end (a few seconds for the four shipped tunes).
std::vector<std::int16_t> Render(AudioDevice& device, MidiSequencer& seq, const std::string& tune,
                                 int seconds = 0) {
    std::string error;
    EXPECT_TRUE(seq.Open(tune, &error)) << error;
    DeviceLock lock(device);
    // The device's own mixer must render none of it: the test renders it all.
    device.SetMusic(nullptr);
    seq.Play();
    const std::size_t step = static_cast<std::size_t>(Period) * device.Channels();
    const std::size_t limit = static_cast<std::size_t>(seconds ? seconds : MaxSeconds) *
                              device.Rate() * device.Channels();
    std::vector<std::int16_t> out;
    while (out.size() < limit && (seconds || !seq.EndReached())) {
        out.resize(out.size() + step);
        seq.Render(out.data() + out.size() - step, Period);
    }
    EXPECT_LT(out.size(), static_cast<std::size_t>(MaxSeconds) * device.Rate() * device.Channels());
    return out;
}

double Rms(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (std::int16_t v : samples)
        sum += static_cast<double>(v) * v;
    return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

// The first sample where two renders part, or -1.
long FirstDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    if (a.size() != b.size())
        return 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return static_cast<long>(i);
    return -1;
}

class CutFont : public ::testing::Test {
protected:
    void SetUp() override {
        if (!MidiSequencer::SoundFontLooksUsable(SoundFont))
            GTEST_SKIP() << "no usable sound font at " << SoundFont;
    }
    std::vector<std::string> tunes = TunesInFolder(Tunes);
    AudioDevice device;
};

TEST_F(CutFont, TheShippedTunesSoundExactlyAsWithTheWholeFont) {
    ASSERT_EQ(tunes.size(), 4u);
    MidiSequencer whole(device, SoundFont);
    MidiSequencer cut(device, SoundFont, tunes);
    EXPECT_FALSE(whole.SoundFontCut());
    ASSERT_TRUE(cut.SoundFontCut());
    for (const std::string& tune : tunes) {
        SCOPED_TRACE(tune);
        const std::vector<std::int16_t> expected = Render(device, whole, tune);
        const std::vector<std::int16_t> got = Render(device, cut, tune);
        // Clearly sounding, so equal renders are not equal silences.
        EXPECT_GT(Rms(expected), 300.0);
        EXPECT_EQ(FirstDifference(expected, got), -1);
        // Every tune is served by the cut font: none brought the whole font back.
        EXPECT_TRUE(cut.SoundFontCut());
    }
}

// Every shipped tune, its loop included, sounds at most as many voices at once
// as the synthesiser keeps: no note ever takes the voice of a sounding one,
// which would make the tune sound otherwise than it was written.
TEST_F(CutFont, NoShippedTuneNeedsMoreVoicesThanTheSynthesiserKeeps) {
    const FluidCalls& lib = Fluid();
    fluid_settings_t* settings = lib.new_fluid_settings();
    lib.fluid_settings_setnum(settings, "synth.sample-rate", device.Rate());
    lib.fluid_settings_setstr(settings, "player.timing-source", "sample");
    lib.fluid_settings_setint(settings, "synth.polyphony", 4 * MidiSequencer::Polyphony);
    lib.fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_synth_t* synth = lib.new_fluid_synth(settings);
    ASSERT_NE(lib.fluid_synth_sfload(synth, SoundFont.c_str(), 1), FLUID_FAILED);
    int busiest = 0;
    for (const std::string& tune : tunes) {
        fluid_player_t* player = lib.new_fluid_player(synth);
        lib.fluid_player_add(player, tune.c_str());
        lib.fluid_player_play(player);
        std::int16_t block[2 * 64];
        // To the end, then the first seconds again over the end's last notes.
        long after = -1;
        while (after < 0 || after-- > 0) {
            lib.fluid_synth_write_s16(synth, 64, block, 0, 2, block, 1, 2);
            busiest = std::max(busiest, lib.fluid_synth_get_active_voice_count(synth));
            if (after < 0 && lib.fluid_player_get_status(player) != FLUID_PLAYER_PLAYING) {
                lib.fluid_player_seek(player, 0);
                lib.fluid_player_play(player);
                after = 10L * device.Rate() / 64;
            }
        }
        lib.delete_fluid_player(player);
        lib.fluid_synth_system_reset(synth);
    }
    lib.delete_fluid_synth(synth);
    lib.delete_fluid_settings(settings);
    EXPECT_GT(busiest, MidiSequencer::Polyphony / 2);
    EXPECT_LE(busiest, MidiSequencer::Polyphony);
}

TEST_F(CutFont, ATuneWithOtherInstrumentsGetsTheWholeFont) {
    QTemporaryDir dir;
    // Ferral's first instrument, then one no shipped tune uses (ocarina).
    const std::string same = dir.filePath(QStringLiteral("same.mid")).toStdString();
    const std::string other = dir.filePath(QStringLiteral("other.mid")).toStdString();
    test::WriteTune(QString::fromStdString(same), 72, 4, 73);
    test::WriteTune(QString::fromStdString(other), 72, 4, 79);

    MidiSequencer whole(device, SoundFont);
    MidiSequencer cut(device, SoundFont, tunes);
    ASSERT_TRUE(cut.SoundFontCut());
    EXPECT_EQ(FirstDifference(Render(device, whole, same, 2), Render(device, cut, same, 2)), -1);
    EXPECT_TRUE(cut.SoundFontCut());

    const std::vector<std::int16_t> expected = Render(device, whole, other, 2);
    const std::vector<std::int16_t> got = Render(device, cut, other, 2);
    EXPECT_FALSE(cut.SoundFontCut());
    EXPECT_GT(Rms(expected), 300.0);
    EXPECT_EQ(FirstDifference(expected, got), -1);
    // The shipped tunes still sound right from the whole font.
    EXPECT_EQ(FirstDifference(Render(device, whole, tunes[0], 2), Render(device, cut, tunes[0], 2)),
              -1);
}

TEST_F(CutFont, AFontTheCutterCannotReadIsLoadedWholeAndTheTunesPlay) {
    // The system font with a list after its presets: the synthesiser reads past
    // it, the cutter does not know what a loader might make of it.
    QTemporaryDir dir;
    const std::string odd = dir.filePath(QStringLiteral("odd.sf2")).toStdString();
    std::filesystem::copy_file(SoundFont, odd);
    {
        std::fstream file(odd, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(0, std::ios::end);
        file.write("LIST\x08\x00\x00\x00"
                   "xtraABCD",
                   16);
        const auto size = static_cast<std::uint32_t>(file.tellp()) - 8;
        const char le[4] = {static_cast<char>(size), static_cast<char>(size >> 8),
                            static_cast<char>(size >> 16), static_cast<char>(size >> 24)};
        file.seekp(4);
        file.write(le, 4);
    }
    ASSERT_TRUE(MidiSequencer::SoundFontLooksUsable(odd));
    MidiSequencer whole(device, SoundFont);
    MidiSequencer fallback(device, odd, tunes);
    EXPECT_FALSE(fallback.SoundFontCut());
    const std::vector<std::int16_t> got = Render(device, fallback, tunes[1], 2);
    EXPECT_GT(Rms(got), 300.0);
    EXPECT_EQ(FirstDifference(Render(device, whole, tunes[1], 2), got), -1);
}

// A library without one of the loader calls cannot read a cut font: the
// loader is not installed, and only whole files load.
TEST_F(CutFont, ALibraryWithoutTheLoaderCallsLoadsOnlyWholeFonts) {
    const auto cut = CutFontFile::Make(SoundFont, {{0, 0}});
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->Presets(), 1);
    FluidCalls lib = Fluid();
    lib.fluid_sfloader_set_callbacks = nullptr;
    fluid_settings_t* settings = lib.new_fluid_settings();
    fluid_synth_t* synth = lib.new_fluid_synth(settings);
    EXPECT_FALSE(InstallCutFontLoader(lib, settings, synth));
    // The name of a cut font is no file's.
    EXPECT_EQ(lib.fluid_synth_sfload(synth, cut->Name().c_str(), 1), FLUID_FAILED);
    EXPECT_NE(lib.fluid_synth_sfload(synth, SoundFont.c_str(), 1), FLUID_FAILED);
    lib.delete_fluid_synth(synth);
    // With every call, a synthesiser reads it (the loader goes in before any font).
    synth = lib.new_fluid_synth(settings);
    ASSERT_TRUE(InstallCutFontLoader(Fluid(), settings, synth));
    EXPECT_NE(lib.fluid_synth_sfload(synth, cut->Name().c_str(), 1), FLUID_FAILED);
    lib.delete_fluid_synth(synth);
    lib.delete_fluid_settings(settings);
}

// ----- the tune scan and the cutter on their own -----

// A one-track tune holding `events` (delta times included).
std::vector<std::uint8_t> Midi(const std::vector<std::uint8_t>& events) {
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0,    0,   0,   6,   0,
                                      0,   0,   1,   1,   0xE0, 'M', 'T', 'r', 'k'};
    const std::size_t n = events.size() + 4;
    for (int shift = 24; shift >= 0; shift -= 8)
        file.push_back(static_cast<std::uint8_t>(n >> shift));
    file.insert(file.end(), events.begin(), events.end());
    file.insert(file.end(), {0, 0xFF, 0x2F, 0});
    return file;
}

TEST(TunePresets, ProgramsLandInTheBankTheirChannelPlaysFrom) {
    // Channel 1 selects 12, then (running status) 40; the drum channel selects kit 16;
    // a tempo meta event and notes in between.
    const auto tune = Midi({0,  0xC0, 12, 0,  0xFF, 0x51, 3,    7,  0xA1, 0x20, 0, 0x90,
                            60, 100,  10, 60, 0,    0,    0xC0, 40, 0,    0xC9, 16});
    PresetChoices found;
    ASSERT_TRUE(TunePresets(tune, found));
    EXPECT_EQ(found, (PresetChoices{{0, 0}, {0, 12}, {0, 40}, {DrumBank, 0}, {DrumBank, 16}}));
}

TEST(TunePresets, ABankSelectOrSystemExclusiveKeepsTheProgramInEveryBank) {
    for (const auto& tune :
         {Midi({0, 0xB0, 0, 8, 0, 0xC0, 30}), Midi({0, 0xB3, 32, 1, 0, 0xC0, 30}),
          Midi({0, 0xF0, 3, 0x7E, 0x7F, 0xF7, 0, 0xC0, 30})}) {
        PresetChoices found;
        ASSERT_TRUE(TunePresets(tune, found));
        EXPECT_EQ(found, (PresetChoices{{AnyBank, 0}, {AnyBank, 30}, {0, 0}, {DrumBank, 0}}));
    }
}

TEST(TunePresets, WhatIsNotATuneReadToItsEndAddsNothing) {
    const auto good = Midi({0, 0xC0, 12, 0, 0x90, 60, 100});
    std::vector<std::vector<std::uint8_t>> bad;
    for (std::size_t n = 0; n < good.size(); ++n)
        bad.emplace_back(good.begin(), good.begin() + static_cast<long>(n));
    bad.push_back(Midi({0, 60, 100}));                // data before any status
    bad.push_back(Midi({0, 0xF2, 0, 0}));             // not a file's event
    bad.push_back(Midi({0xFF, 0xFF, 0xFF, 0xFF, 0})); // a delta time of five bytes
    bad.push_back(Midi({0, 0xFF, 0x01, 0x7F, 'x'}));  // a text longer than its track
    bad.push_back({'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0});
    for (const auto& bytes : bad) {
        SCOPED_TRACE(bytes.size());
        PresetChoices found = {{7, 7}};
        EXPECT_FALSE(TunePresets(bytes, found));
        EXPECT_EQ(found, (PresetChoices{{7, 7}}));
    }
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CutSoundFont::Reader ReaderOf(const std::vector<std::uint8_t>& bytes) {
    return [&bytes](std::uint64_t offset, void* to, std::size_t count) {
        if (offset > bytes.size() || count > bytes.size() - offset)
            return false;
        std::memcpy(to, bytes.data() + offset, count);
        return true;
    };
}

std::vector<std::uint8_t> ReadCut(const CutSoundFont& cut, const CutSoundFont::Reader& original) {
    std::vector<std::uint8_t> bytes(cut.Size());
    EXPECT_TRUE(cut.Read(original, 0, bytes.data(), bytes.size()));
    return bytes;
}

// Where a four-letter chunk id first appears in `bytes`.
std::size_t Find(const std::vector<std::uint8_t>& bytes, const char* id) {
    const std::string all(bytes.begin(), bytes.end());
    return all.find(id);
}

TEST(CutSoundFont, KeepsThePresetsAskedForAndTheirSamplesAsTheyWere) {
    std::vector<std::uint8_t> font = ReadAll(SoundFont);
    if (font.empty())
        GTEST_SKIP() << "no sound font at " << SoundFont;
    PresetChoices keep;
    for (const std::string& tune : TunesInFolder(Tunes))
        ASSERT_TRUE(TuneFilePresets(tune, keep)) << tune;
    const auto cut = CutSoundFont::Make(ReaderOf(font), font.size(), keep);
    ASSERT_TRUE(cut);
    // The shipped tunes' sixteen programs, piano and the standard drum kit.
    EXPECT_EQ(cut->Presets(), 18);
    // And the instruments those use, of the font's 210.
    EXPECT_EQ(cut->Instruments(), 26);
    const std::vector<std::uint8_t> bytes = ReadCut(*cut, ReaderOf(font));
    EXPECT_LT(bytes.size(), font.size());
    // Everything up to the preset data is the original's, samples included.
    const std::size_t presetData = Find(font, "pdta") - 8;
    ASSERT_EQ(Find(bytes, "pdta") - 8, presetData);
    EXPECT_TRUE(std::equal(font.begin() + 8, font.begin() + static_cast<long>(presetData),
                           bytes.begin() + 8));
    // The cut reads as a font, and cutting it again to the same presets changes nothing.
    const auto again = CutSoundFont::Make(ReaderOf(bytes), bytes.size(), keep);
    ASSERT_TRUE(again);
    EXPECT_EQ(ReadCut(*again, ReaderOf(bytes)), bytes);
    // Nothing is read past the end.
    std::uint8_t byte = 0;
    EXPECT_FALSE(cut->Read(ReaderOf(font), cut->Size(), &byte, 1));
    EXPECT_FALSE(cut->Read(ReaderOf(font), cut->Size() - 1, &byte, 2));
}

TEST(CutSoundFont, AFontItCannotVouchForIsNotCut) {
    const std::vector<std::uint8_t> font = ReadAll(SoundFont);
    if (font.empty())
        GTEST_SKIP() << "no sound font at " << SoundFont;
    const PresetChoices piano = {{0, 0}};
    ASSERT_TRUE(CutSoundFont::Make(ReaderOf(font), font.size(), piano));
    auto le16 = [](std::vector<std::uint8_t>& b, std::size_t at, int v) {
        b[at] = static_cast<std::uint8_t>(v);
        b[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    const std::size_t phdr = Find(font, "phdr") + 8;
    const std::size_t pgen = Find(font, "pgen") + 8;
    struct Damage {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> apply;
    };
    const std::vector<Damage> damages = {
        {"a size that is not the file's", [](auto& b) { b[4] ^= 1; }},
        {"an unknown part", [&](auto& b) { std::memcpy(&b[Find(b, "pmod")], "pxxx", 4); }},
        {"a part twice", [&](auto& b) { std::memcpy(&b[Find(b, "imod")], "pmod", 4); }},
        {"bags out of range", [&](auto& b) { le16(b, phdr + 38 * 128 + 24, 0xFFFF); }},
        {"bags going back", [&](auto& b) { le16(b, phdr + 24, 5); }},
        {"an instrument beyond the last",
         [&](auto& b) {
             for (std::size_t g = pgen; b[g] != 0 || b[g + 1] != 0; g += 4)
                 if (b[g] == 41 && b[g + 1] == 0)
                     le16(b, g + 2, 0x7FFF);
         }},
        {"a list longer than the file", [&](auto& b) { b[Find(b, "sdta") - 1] ^= 0x40; }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::vector<std::uint8_t> bad = font;
        damage.apply(bad);
        EXPECT_FALSE(CutSoundFont::Make(ReaderOf(bad), bad.size(), piano));
    }
    // And a font without any of the presets asked for.
    EXPECT_FALSE(CutSoundFont::Make(ReaderOf(font), font.size(), {{3, 3}}));
}

} // namespace
} // namespace mirelo

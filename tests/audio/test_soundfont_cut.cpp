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

// How a render loops: `gap` periods after it reaches the tune's end (at
// `endAt`) it plays it again from the start (at `restartAt`). The window
// hears of the end within a period or two; the player finishes the tune, its
// last notes released, some 250 periods after the end.
struct Loop {
    int gap = 20;
    std::size_t endAt = 0;
    std::size_t restartAt = 0;
};

// What the sequencer renders of `tune` from its start, as the mixer would
// have it, with the font it was made with: `seconds` of it, or all of it to
// its end and, with `loop`, played again from the start as the window does at
// the end, `again` periods more.
std::vector<std::int16_t> Render(AudioDevice& device, MidiSequencer& seq, const std::string& tune,
                                 int seconds = 0, int again = 0, Loop* loop = nullptr) {
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
    auto period = [&] {
        out.resize(out.size() + step);
        seq.Render(out.data() + out.size() - step, Period);
    };
    while (out.size() < limit && (seconds || !seq.EndReached()))
        period();
    EXPECT_LT(out.size(), static_cast<std::size_t>(MaxSeconds) * device.Rate() * device.Channels());
    if (loop) {
        loop->endAt = out.size();
        for (int i = 0; i < loop->gap; ++i)
            period();
        loop->restartAt = out.size();
        seq.Restart();
        for (int i = 0; i < again; ++i)
            period();
    }
    return out;
}

// A synthesiser of the library's own with the whole font loaded, its samples
// read on demand, at the device's rate and with the player's clock following
// the samples, as the sequencer's; with `gain` when one is given.
class LibrarySynth {
public:
    LibrarySynth(const AudioDevice& device, int polyphony, double gain = 0)
        : lib(Fluid()), settings_(lib.new_fluid_settings()) {
        lib.fluid_settings_setnum(settings_, "synth.sample-rate", device.Rate());
        lib.fluid_settings_setstr(settings_, "player.timing-source", "sample");
        if (gain > 0)
            lib.fluid_settings_setnum(settings_, "synth.gain", gain);
        lib.fluid_settings_setint(settings_, "synth.polyphony", polyphony);
        lib.fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
        synth = lib.new_fluid_synth(settings_);
        loaded = lib.fluid_synth_sfload(synth, SoundFont.c_str(), 1) != FLUID_FAILED;
    }
    ~LibrarySynth() {
        lib.delete_fluid_synth(synth);
        lib.delete_fluid_settings(settings_);
    }
    LibrarySynth(const LibrarySynth&) = delete;
    LibrarySynth& operator=(const LibrarySynth&) = delete;

    const FluidCalls& lib;
    fluid_synth_t* synth = nullptr;
    bool loaded = false;

private:
    fluid_settings_t* settings_;
};

// The same as the library's own player plays it from the whole font, period
// for period: the synthesiser set up as the sequencer sets up its own, the
// block the sequencer's Open runs thrown away, then to the end and, sent back
// to the start, `again` periods more. This player resets the synthesiser
// itself when it finishes the tune, giving every channel its first preset back.
std::vector<std::int16_t> LibraryRender(const AudioDevice& device, const std::string& tune,
                                        int again, Loop& loop) {
    const LibrarySynth library(device, MidiSequencer::Polyphony, MidiSequencer::Gain);
    EXPECT_TRUE(library.loaded);
    const FluidCalls& lib = library.lib;
    fluid_synth_t* synth = library.synth;
    fluid_player_t* player = lib.new_fluid_player(synth);
    lib.fluid_player_add(player, tune.c_str());
    lib.fluid_player_play(player);
    std::int16_t first[2 * 64];
    lib.fluid_synth_write_s16(synth, 64, first, 0, 2, first, 1, 2);
    const int length = lib.fluid_player_get_total_ticks(player);
    std::vector<std::int16_t> out;
    auto period = [&] {
        out.resize(out.size() + 2 * Period);
        std::int16_t* to = out.data() + out.size() - 2 * Period;
        lib.fluid_synth_write_s16(synth, Period, to, 0, 2, to, 1, 2);
    };
    const std::size_t limit = static_cast<std::size_t>(MaxSeconds) * device.Rate() * 2;
    while (out.size() < limit && lib.fluid_player_get_current_tick(player) < length)
        period();
    loop.endAt = out.size();
    for (int i = 0; i < loop.gap; ++i)
        period();
    loop.restartAt = out.size();
    lib.fluid_player_seek(player, 0);
    lib.fluid_player_play(player);
    for (int i = 0; i < again; ++i)
        period();
    lib.delete_fluid_player(player);
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

// The sequencer's render against the library's, to the end and `again`
// periods (400: about five seconds) into the second time through. The library
// resets the synthesiser when it finishes the tune, the sequencer when the
// tune is played again: between the last period before the end and the
// restart, the tune's last sounds are cut off or ring out. Once the player has
// finished, the sequencer stops rendering a synthesiser that has fallen
// silent, so the chorus's sweep is elsewhere the second time through: the
// same notes as loud, not the same samples.
void ExpectSoundsAsTheLibraryPlaysIt(AudioDevice& device, MidiSequencer& seq,
                                     const std::string& tune, int again = 400, int gap = 20) {
    Loop expectedLoop{gap}, gotLoop{gap};
    const std::vector<std::int16_t> expected = LibraryRender(device, tune, again, expectedLoop);
    const std::vector<std::int16_t> got = Render(device, seq, tune, 0, again, &gotLoop);
    ASSERT_EQ(gotLoop.endAt, expectedLoop.endAt);
    ASSERT_EQ(got.size(), expected.size());
    const auto lastPeriod = static_cast<long>(gotLoop.endAt - 2 * Period);
    const auto restart = static_cast<long>(gotLoop.restartAt);
    const std::vector<std::int16_t> expectedFirst(expected.begin(), expected.begin() + lastPeriod),
        gotFirst(got.begin(), got.begin() + lastPeriod),
        expectedAgain(expected.begin() + restart, expected.end()),
        gotAgain(got.begin() + restart, got.end());
    // Clearly sounding, so equal renders are not equal silences.
    EXPECT_GT(Rms(expectedFirst), 300.0);
    EXPECT_GT(Rms(expectedAgain), 300.0);
    EXPECT_EQ(FirstDifference(expectedFirst, gotFirst), -1);
    if (gap < 250)
        EXPECT_EQ(FirstDifference(expectedAgain, gotAgain), -1);
    else
        EXPECT_NEAR(Rms(gotAgain) / Rms(expectedAgain), 1.0, 0.01);
}

TEST_F(CutFont, TheShippedTunesSoundAsTheLibraryPlaysThemFromTheWholeFont) {
    ASSERT_EQ(tunes.size(), 4u);
    ASSERT_EQ(device.Channels(), 2);
    for (const std::string& tune : tunes) {
        SCOPED_TRACE(tune);
        // A synthesiser of its own, as fresh as the library's.
        MidiSequencer cut(device, SoundFont, tunes);
        ASSERT_TRUE(cut.SoundFontCut());
        ExpectSoundsAsTheLibraryPlaysIt(device, cut, tune);
        // Every tune is served by the cut font: none brought the whole font back.
        EXPECT_TRUE(cut.SoundFontCut());
    }
}

// Every shipped tune, its loop included, sounds at most as many voices at once
// as the synthesiser keeps: no note ever takes the voice of a sounding one,
// which would make the tune sound otherwise than it was written.
TEST_F(CutFont, NoShippedTuneNeedsMoreVoicesThanTheSynthesiserKeeps) {
    const LibrarySynth library(device, 4 * MidiSequencer::Polyphony);
    ASSERT_TRUE(library.loaded);
    const FluidCalls& lib = library.lib;
    fluid_synth_t* synth = library.synth;
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
    ChannelSet fromStart;
    ASSERT_TRUE(TunePresets(tune, found, &fromStart));
    // No channel sounds the preset it starts with.
    EXPECT_EQ(found, (PresetChoices{{0, 12}, {0, 40}, {DrumBank, 16}}));
    EXPECT_TRUE(fromStart.none());
}

// A multi-track tune of `tracks`, each holding its events.
std::vector<std::uint8_t> MidiTracks(const std::vector<std::vector<std::uint8_t>>& tracks) {
    std::vector<std::uint8_t> file = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, static_cast<std::uint8_t>(tracks.size()), 1, 0xE0};
    for (const auto& events : tracks) {
        const std::vector<std::uint8_t> one = Midi(events);
        file.insert(file.end(), one.begin() + 14, one.end());
    }
    return file;
}

TEST(TunePresets, AChannelKeepsItsFirstPresetWhenItMaySoundItBeforeItsProgram) {
    struct Case {
        const char* what;
        std::vector<std::vector<std::uint8_t>> tracks;
        ChannelSet fromStart;
        PresetChoices presets;
    };
    const std::vector<Case> cases = {
        {"a note, then the program", {{0, 0x92, 60, 100, 0, 0xC2, 12}}, 1 << 2, {{0, 0}, {0, 12}}},
        {"the program, then a note", {{0, 0xC2, 12, 0, 0x92, 60, 100}}, 0, {{0, 12}}},
        {"a note off (velocity 0) first", {{0, 0x92, 60, 0, 0, 0xC2, 12}}, 0, {{0, 12}}},
        {"drums without a program", {{0, 0x99, 36, 100}}, 1 << 9, {{DrumBank, 0}}},
        {"the program in an earlier track, at the note's tick",
         {{10, 0xC2, 12}, {10, 0x92, 60, 100}},
         0,
         {{0, 12}}},
        {"the program in a later track, at the note's tick",
         {{10, 0x92, 60, 100}, {10, 0xC2, 12}},
         1 << 2,
         {{0, 0}, {0, 12}}},
        {"the program in an earlier track, after the note",
         {{20, 0xC2, 12}, {10, 0x92, 60, 100}},
         1 << 2,
         {{0, 0}, {0, 12}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PresetChoices found;
        ChannelSet fromStart;
        ASSERT_TRUE(TunePresets(MidiTracks(c.tracks), found, &fromStart));
        EXPECT_EQ(fromStart, c.fromStart);
        EXPECT_EQ(found, c.presets);
    }
}

TEST(TunePresets, ABankSelectOrSystemExclusiveKeepsTheProgramInEveryBank) {
    for (const auto& tune :
         {Midi({0, 0xB0, 0, 8, 0, 0xC0, 30}), Midi({0, 0xB3, 32, 1, 0, 0xC0, 30}),
          Midi({0, 0xF0, 3, 0x7E, 0x7F, 0xF7, 0, 0xC0, 30})}) {
        PresetChoices found;
        ChannelSet fromStart;
        ASSERT_TRUE(TunePresets(tune, found, &fromStart));
        EXPECT_EQ(found, (PresetChoices{{AnyBank, 0}, {AnyBank, 30}, {0, 0}, {DrumBank, 0}}));
        EXPECT_TRUE(fromStart.all());
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

// Channels that sound the preset they start with, a drum kit the font lacks,
// and channels left otherwise at the end than at the start: the cut keeps the
// presets the synthesiser starts with and falls back on, and the second time
// through starts from fresh channels, as the library's own player has them.
TEST_F(CutFont, ATuneOnTheFirstPresetsAndFallbacksSoundsAsTheLibraryPlaysIt) {
    const auto bytes =
        Midi({0,    0x99, 36,   100,                  // drums on the kit every channel starts with
              0,    0x91, 60,   100,                  // the piano channel 1 starts with
              0,    0xC0, 40,   0,   0x90, 67,   100, // a violin
              0x83, 0x60, 0x81, 60,  0,               // 480 ticks on
              0,    0xC1, 12,   0,   0x91, 64,   100,  0,    0xC9, 5, // a kit not in the font
              0,    0x99, 38,   100, 0x83, 0x60, 0x80, 67,   0,    0,    0x81, 64, 0,
              0,    0x89, 36,   0,   0,    0x89, 38,   0, // all off
              0,    0xB0, 7,    10,  0,    0xE0, 0,    0x7F, 0x83, 0x60, 0xB0, 7,  10});
    QTemporaryDir dir;
    const std::string tune = dir.filePath(QStringLiteral("first.mid")).toStdString();
    {
        std::ofstream out(tune, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    ChannelSet fromStart;
    PresetChoices wanted;
    ASSERT_TRUE(TuneFilePresets(tune, wanted, &fromStart));
    EXPECT_EQ(fromStart, ChannelSet(1 << 1 | 1 << 9));
    // Played again at once, and once the player has finished it (and the
    // library's player has reset the synthesiser); each from a fresh synthesiser.
    for (const int gap : {20, 400}) {
        SCOPED_TRACE(gap);
        MidiSequencer cut(device, SoundFont, {tune});
        ASSERT_TRUE(cut.SoundFontCut());
        ExpectSoundsAsTheLibraryPlaysIt(device, cut, tune, 60, gap);
        EXPECT_TRUE(cut.SoundFontCut());
    }
}

TEST(TunesInFolder, AreTheMidiFilesOfTheFolderSorted) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    for (const char* name : {"b.mid", "A.MID", "c.midi", "e.txt", ".mid"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name;
    }
    ASSERT_TRUE(folder.mkdir(QStringLiteral("d.mid")));
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("b.mid")),
                            folder.filePath(QStringLiteral("f.mid"))));
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("gone")),
                            folder.filePath(QStringLiteral("g.mid"))));
    const std::string base = dir.path().toStdString();
    const std::vector<std::string> expected = {base + "/A.MID", base + "/b.mid", base + "/f.mid"};
    EXPECT_EQ(TunesInFolder(base), expected);
    EXPECT_EQ(TunesInFolder(base + "/"), expected);
    EXPECT_TRUE(TunesInFolder(base + "/absent").empty());
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
    // The shipped tunes' sixteen programs and the standard drum kit, which two
    // of them play without choosing it; not the piano, which none plays.
    EXPECT_EQ(cut->Presets(), 17);
    // And the instruments those use, of the font's 210.
    EXPECT_EQ(cut->Instruments(), 25);
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
    // And nothing asked for.
    EXPECT_FALSE(CutSoundFont::Make(ReaderOf(font), font.size(), {}));
}

// A preset the font lacks is served as the synthesiser serves it: a drum kit
// by the standard kit, a program in another bank by the same in bank 0.
TEST(CutSoundFont, KeepsWhatTheSynthesiserFallsBackOn) {
    const std::vector<std::uint8_t> font = ReadAll(SoundFont);
    if (font.empty())
        GTEST_SKIP() << "no sound font at " << SoundFont;
    const auto kit = CutSoundFont::Make(ReaderOf(font), font.size(), {{DrumBank, 5}});
    const auto standardKit = CutSoundFont::Make(ReaderOf(font), font.size(), {{DrumBank, 0}});
    ASSERT_TRUE(kit && standardKit);
    EXPECT_EQ(ReadCut(*kit, ReaderOf(font)), ReadCut(*standardKit, ReaderOf(font)));
    const auto other = CutSoundFont::Make(ReaderOf(font), font.size(), {{3, 3}});
    const auto bank0 = CutSoundFont::Make(ReaderOf(font), font.size(), {{0, 3}});
    ASSERT_TRUE(other && bank0);
    EXPECT_EQ(ReadCut(*other, ReaderOf(font)), ReadCut(*bank0, ReaderOf(font)));
}

} // namespace
} // namespace mirelo

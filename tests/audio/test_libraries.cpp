// SDL2 and FluidSynth opened at run time: every call found in the real
// libraries, and a machine without them (or with something else under their
// names) gets a silent game and a reason, never a crash.
#include "AudioTestSupport.h"
#include "FullSound.h"
#include "SoundLibraries.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>

namespace mirelo {
namespace {

constexpr const char* Missing = "libmirelo-missing.so.0";

int NullCalls(const SoundLibraries& libraries) {
    int nulls = 0;
#define MIRELO_COUNT_NULL_SDL(name) nulls += libraries.Sdl.name == nullptr;
#define MIRELO_COUNT_NULL_FLUID(name) nulls += libraries.Fluid.name == nullptr;
    MIRELO_SDL_CALLS(MIRELO_COUNT_NULL_SDL)
    MIRELO_FLUID_CALLS(MIRELO_COUNT_NULL_FLUID)
#undef MIRELO_COUNT_NULL_SDL
#undef MIRELO_COUNT_NULL_FLUID
    return nulls;
}

constexpr int CallCount = [] {
    int count = 0;
#define MIRELO_COUNT(name) ++count;
    MIRELO_SDL_CALLS(MIRELO_COUNT)
    MIRELO_FLUID_CALLS(MIRELO_COUNT)
#undef MIRELO_COUNT
    return count;
}();

TEST(SoundLibraries, TheSonamesOpenWithEveryCall) {
    const SoundLibraries libraries = OpenSoundLibraries({});
    EXPECT_EQ(libraries.Reason, "");
    EXPECT_EQ(NullCalls(libraries), 0);
    // The library's sound-font loader must be held to one thread; the setting
    // lives in a dependency of FluidSynth, which is not in the global scope.
    if (dlopen("libgomp.so.1", RTLD_LAZY | RTLD_NOLOAD)) {
        EXPECT_NE(libraries.Fluid.omp_set_num_threads, nullptr);
    }
}

TEST(SoundLibraries, AMissingLibraryIsNamedAndNoCallIsKept) {
    SoundLibraryNames names;
    names.Sdl = Missing;
    const SoundLibraries noSdl = OpenSoundLibraries(names);
    EXPECT_EQ(noSdl.Reason.rfind("SDL2 could not be loaded: ", 0), 0u) << noSdl.Reason;
    EXPECT_NE(noSdl.Reason.find(Missing), std::string::npos) << noSdl.Reason;
    EXPECT_EQ(NullCalls(noSdl), CallCount);

    names = {};
    names.Fluid = Missing;
    const SoundLibraries noFluid = OpenSoundLibraries(names);
    EXPECT_EQ(noFluid.Reason.rfind("FluidSynth could not be loaded: ", 0), 0u) << noFluid.Reason;
    EXPECT_NE(noFluid.Reason.find(Missing), std::string::npos) << noFluid.Reason;
    // SDL2 opened, but half the calls are no use.
    EXPECT_EQ(NullCalls(noFluid), CallCount);
}

TEST(SoundLibraries, ALibraryWithoutTheCallsIsRefusedByTheFirstMissingCall) {
    SoundLibraryNames names;
    names.Sdl = "libm.so.6";
    const SoundLibraries notSdl = OpenSoundLibraries(names);
    EXPECT_EQ(notSdl.Reason, "SDL2 (libm.so.6) lacks SDL_SetHint");
    EXPECT_EQ(NullCalls(notSdl), CallCount);

    names = {};
    names.Fluid = names.Sdl;
    const SoundLibraries notFluid = OpenSoundLibraries(names);
    EXPECT_EQ(notFluid.Reason, "FluidSynth (libSDL2-2.0.so.0) lacks new_fluid_settings");
    EXPECT_EQ(NullCalls(notFluid), CallCount);
}

TEST(SoundLibraries, TheEnvironmentNamesOtherFiles) {
    qputenv("MIRELO_SDL2_LIBRARY", "a.so");
    qputenv("MIRELO_FLUIDSYNTH_LIBRARY", "");
    const SoundLibraryNames names = SoundLibraryNamesFromEnvironment();
    qunsetenv("MIRELO_SDL2_LIBRARY");
    qunsetenv("MIRELO_FLUIDSYNTH_LIBRARY");
    EXPECT_EQ(names.Sdl, "a.so");
    EXPECT_EQ(names.Fluid, "libfluidsynth.so.3");
}

// The program's own libraries are opened once per process, so each case runs
// in a fresh process of its own, with the names it stands in.
void RunSilentGame(const char* variable, const char* file) {
    qputenv(variable, file);
    QTemporaryDir folder;
    test::WriteTune(folder.filePath(QStringLiteral("ferral.mid")), 72, 1);
    bool silent = false;
    {
        FullSound sound(folder.path());
        const QString reason = sound.UnavailableReason();
        std::fprintf(stderr, "reason: %s\n", reason.toUtf8().constData());
        sound.PlayEffect(SoundAccepted);
        QString error;
        silent = sound.HasSound() && sound.Audio().BufferCount() == 0 &&
                 sound.Audio().Device() == nullptr && !sound.MusicCanPlay() &&
                 !sound.TuneExists(QStringLiteral("ferral.mid")) &&
                 !sound.SelectedMusic(QStringLiteral("ferral.mid"), &error) && !error.isEmpty();
        sound.MusicStep();
        sound.CloseMusic();
    }
    std::fflush(stderr);
    std::_Exit(silent ? 0 : 1);
}

// Without FluidSynth only the music is missing: the effects play, and the
// music's reason names the library.
void RunGameWithoutMusic() {
    qputenv("MIRELO_FLUIDSYNTH_LIBRARY", Missing);
    QTemporaryDir folder;
    test::WriteTune(folder.filePath(QStringLiteral("ferral.mid")), 72, 1);
    bool effectsOnly = false;
    {
        FullSound sound(folder.path());
        sound.PlayEffect(SoundAccepted);
        std::fprintf(stderr, "music: %s\n", sound.MusicUnavailableReason().toUtf8().constData());
        QString error;
        effectsOnly = sound.UnavailableReason().isEmpty() && sound.Audio().BufferCount() == 3 &&
                      sound.Audio().Device() != nullptr && !sound.MusicPossible() &&
                      !sound.MusicCanPlay() && !sound.TuneExists(QStringLiteral("ferral.mid")) &&
                      !sound.SelectedMusic(QStringLiteral("ferral.mid"), &error) &&
                      !error.isEmpty();
        sound.MusicStep();
        sound.CloseMusic();
    }
    std::fflush(stderr);
    std::_Exit(effectsOnly ? 0 : 1);
}

// A game with sound and music off that closes opens no device; one with music off
// has its effects and never maps FluidSynth.
void RunGameWithMusicOff() {
    QTemporaryDir folder;
    test::DiskOutput output;
    {
        FullSound quiet(folder.path());
        quiet.CloseMusic();
    }
    // The disk driver makes its file when the device opens.
    const bool sdl = QFileInfo::exists(output.Path());
    std::fprintf(stderr, "device opened for nothing: %s\n", sdl ? "yes" : "no");
    bool effects = false;
    {
        FullSound sound(folder.path());
        sound.PlayEffect(SoundAccepted);
        effects = sound.UnavailableReason().isEmpty() && sound.Audio().BufferCount() == 3;
        sound.CloseMusic();
    }
    const bool mapped = dlopen("libfluidsynth.so.3", RTLD_NOW | RTLD_NOLOAD) != nullptr;
    std::fprintf(stderr, "FluidSynth mapped: %s\n", mapped ? "yes" : "no");
    std::fflush(stderr);
    std::_Exit(effects && !mapped && !sdl && QFileInfo::exists(output.Path()) ? 0 : 1);
}

class WithoutLibraries : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(WithoutLibraries, NoSdlMeansASilentGameThatSaysWhy) {
    EXPECT_EXIT(RunSilentGame("MIRELO_SDL2_LIBRARY", Missing), ::testing::ExitedWithCode(0),
                "reason: SDL2 could not be loaded: libmirelo-missing\\.so\\.0");
}

TEST_F(WithoutLibraries, NoFluidSynthMeansNoMusicButTheEffectsPlay) {
    EXPECT_EXIT(RunGameWithoutMusic(), ::testing::ExitedWithCode(0),
                "music: FluidSynth could not be loaded: libmirelo-missing\\.so\\.0");
}

TEST_F(WithoutLibraries, MusicOffMapsNoFluidSynthAndSoundOffOpensNoDevice) {
    EXPECT_EXIT(RunGameWithMusicOff(), ::testing::ExitedWithCode(0),
                "device opened for nothing: no\n(.|\n)*FluidSynth mapped: no");
}

TEST_F(WithoutLibraries, ALibraryLackingACallMeansASilentGameThatSaysWhich) {
    EXPECT_EXIT(RunSilentGame("MIRELO_SDL2_LIBRARY", "libm.so.6"), ::testing::ExitedWithCode(0),
                "reason: SDL2 \\(libm\\.so\\.6\\) lacks SDL_SetHint");
}

} // namespace
} // namespace mirelo

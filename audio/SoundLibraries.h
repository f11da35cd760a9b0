#pragma once

#include <SDL.h>
#include <fluidsynth.h>
#include <string>

namespace mirelo {

// SDL2 and FluidSynth, and the forty-odd libraries they bring with them, are
// opened at run time rather than by the dynamic loader before the program
// starts: SDL2 by the sound set-up thread, so the window does not wait for it,
// and FluidSynth only once music is wanted, so a game with music off never
// maps it. A machine without SDL2 still plays, silent, and says why; one
// without FluidSynth plays its sound effects, and says why there is no music.
// The sound code compiles against their headers and calls them through these
// tables.

// Every call the sound code makes, each listed once: the table's member, its
// type and the name looked up all come from this list.
#define MIRELO_SDL_CALLS(X)                                                                        \
    X(SDL_SetHint)                                                                                 \
    X(SDL_InitSubSystem)                                                                           \
    X(SDL_QuitSubSystem)                                                                           \
    X(SDL_GetError)                                                                                \
    X(SDL_OpenAudioDevice)                                                                         \
    X(SDL_CloseAudioDevice)                                                                        \
    X(SDL_PauseAudioDevice)                                                                        \
    X(SDL_GetCurrentAudioDriver)                                                                   \
    X(SDL_TLSCleanup)                                                                              \
    X(SDL_NewAudioStream)                                                                          \
    X(SDL_AudioStreamPut)                                                                          \
    X(SDL_AudioStreamFlush)                                                                        \
    X(SDL_AudioStreamGet)                                                                          \
    X(SDL_FreeAudioStream)

#define MIRELO_FLUID_CALLS(X)                                                                      \
    X(new_fluid_settings)                                                                          \
    X(delete_fluid_settings)                                                                       \
    X(fluid_settings_setnum)                                                                       \
    X(fluid_settings_setstr)                                                                       \
    X(fluid_settings_setint)                                                                       \
    X(fluid_settings_get_type)                                                                     \
    X(new_fluid_synth)                                                                             \
    X(delete_fluid_synth)                                                                          \
    X(fluid_synth_sfload)                                                                          \
    X(fluid_synth_write_s16)                                                                       \
    X(fluid_synth_all_sounds_off)                                                                  \
    X(fluid_synth_system_reset)                                                                    \
    X(fluid_synth_get_active_voice_count)                                                          \
    X(fluid_is_midifile)                                                                           \
    X(fluid_is_soundfont)                                                                          \
    X(new_fluid_player)                                                                            \
    X(delete_fluid_player)                                                                         \
    X(fluid_player_set_playback_callback)                                                          \
    X(fluid_player_add)                                                                            \
    X(fluid_player_play)                                                                           \
    X(fluid_player_seek)                                                                           \
    X(fluid_player_get_status)                                                                     \
    X(fluid_player_get_total_ticks)                                                                \
    X(fluid_player_get_current_tick)

// Calls the music can do without: a library lacking the loader's loads the
// whole sound font, as before it could be cut (CutFontLoader.h); one lacking
// the last keeps every channel's first preset, as before.
#define MIRELO_FLUID_OPTIONAL_CALLS(X)                                                             \
    X(new_fluid_defsfloader)                                                                       \
    X(delete_fluid_sfloader)                                                                       \
    X(fluid_sfloader_set_callbacks)                                                                \
    X(fluid_synth_add_sfloader)                                                                    \
    X(fluid_synth_sfunload)                                                                        \
    X(fluid_synth_unset_program)

#define MIRELO_CALL_MEMBER(name) decltype(&::name) name = nullptr;

struct SdlCalls {
    MIRELO_SDL_CALLS(MIRELO_CALL_MEMBER)
};

struct FluidCalls {
    MIRELO_FLUID_CALLS(MIRELO_CALL_MEMBER)
    // May stay null.
    MIRELO_FLUID_OPTIONAL_CALLS(MIRELO_CALL_MEMBER)
    // Only where the library was built with OpenMP; may stay null.
    void (*omp_set_num_threads)(int) = nullptr;
};

#undef MIRELO_CALL_MEMBER

// Where the two libraries are looked for: their sonames on Debian 12.
struct SoundLibraryNames {
    std::string Sdl = "libSDL2-2.0.so.0";
    std::string Fluid = "libfluidsynth.so.3";
};

// Both libraries with every call found, or the reason they cannot be used.
struct SoundLibraries {
    SdlCalls Sdl;
    FluidCalls Fluid;
    // Empty when both opened and had every call.
    std::string Reason;
};

// Opens both libraries named and looks up every call; never throws. Opened
// libraries stay open for the life of the process, unless a call is missing.
SoundLibraries OpenSoundLibraries(const SoundLibraryNames& names);

// The names the program uses: the sonames, unless MIRELO_SDL2_LIBRARY or
// MIRELO_FLUIDSYNTH_LIBRARY name other files (how a test stands for a machine
// without them).
SoundLibraryNames SoundLibraryNamesFromEnvironment();

// The program's libraries, each opened by its first caller (once per process;
// Fluid() opens SDL2 too, which FluidSynth needs). Throws SoundError with the
// reason when they cannot be used.
const SdlCalls& Sdl();
const FluidCalls& Fluid();
// Without opening anything: null until the libraries have been opened and
// found usable.
const SdlCalls* SdlIfOpen();

} // namespace mirelo

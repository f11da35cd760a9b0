#include "SoundLibraries.h"

#include "SoundError.h"

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>

namespace mirelo {

namespace {

std::atomic<const SoundLibraries*> usableSdl{nullptr};

// Never closed, even when a call is missing: FluidSynth's dependencies
// register types with GLib, which cannot be undone by unloading them.
void* Open(const std::string& file, const char* what, std::string& reason) {
    // Every symbol bound now, so a library that does not fit fails here and
    // not in the middle of a call.
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        reason = std::string(what) + " could not be loaded: " + (why ? why : file);
    }
    return library;
}

// Searches `library` and the libraries it depends on.
template <typename Call>
void Find(void* library, const char* name, Call& call, const char* what, const std::string& file,
          std::string& reason) {
    if (!reason.empty())
        return;
    call = reinterpret_cast<Call>(dlsym(library, name));
    if (!call)
        reason = std::string(what) + " (" + file + ") lacks " + name;
}

// SDL2 alone, or SDL2 and FluidSynth.
SoundLibraries OpenLibraries(const SoundLibraryNames& names, bool withFluid) {
    SoundLibraries libraries;
    std::string& reason = libraries.Reason;
    // FluidSynth depends on SDL2 itself: a missing SDL2 is named as such.
    void* sdl = Open(names.Sdl, "SDL2", reason);
    void* fluid = sdl && withFluid ? Open(names.Fluid, "FluidSynth", reason) : nullptr;
    if (!sdl || (withFluid && !fluid))
        return libraries;
#define MIRELO_FIND_SDL(name) Find(sdl, #name, libraries.Sdl.name, "SDL2", names.Sdl, reason);
#define MIRELO_FIND_FLUID(name)                                                                    \
    Find(fluid, #name, libraries.Fluid.name, "FluidSynth", names.Fluid, reason);
    MIRELO_SDL_CALLS(MIRELO_FIND_SDL)
    if (withFluid) {
        MIRELO_FLUID_CALLS(MIRELO_FIND_FLUID)
    }
#undef MIRELO_FIND_SDL
#undef MIRELO_FIND_FLUID
    if (!reason.empty()) {
        // Half a table must never be called.
        libraries.Sdl = {};
        libraries.Fluid = {};
        return libraries;
    }
    if (withFluid) {
#define MIRELO_FIND_OPTIONAL(name)                                                                 \
    libraries.Fluid.name = reinterpret_cast<decltype(libraries.Fluid.name)>(dlsym(fluid, #name));
        MIRELO_FLUID_OPTIONAL_CALLS(MIRELO_FIND_OPTIONAL)
#undef MIRELO_FIND_OPTIONAL
        libraries.Fluid.omp_set_num_threads =
            reinterpret_cast<void (*)(int)>(dlsym(fluid, "omp_set_num_threads"));
    }
    return libraries;
}

// The sound effects need only SDL2; FluidSynth, and the forty-odd libraries
// it brings, are opened when music is first wanted, and a game with music off
// never maps them.
const SoundLibraries& ProcessSdl() {
    static const SoundLibraries libraries =
        OpenLibraries(SoundLibraryNamesFromEnvironment(), false);
    if (libraries.Reason.empty())
        usableSdl.store(&libraries, std::memory_order_release);
    return libraries;
}

const SoundLibraries& ProcessFluid() {
    static const SoundLibraries libraries = OpenLibraries(SoundLibraryNamesFromEnvironment(), true);
    return libraries;
}

const SoundLibraries& Usable(const SoundLibraries& libraries) {
    if (!libraries.Reason.empty())
        throw SoundError("The sound libraries could not be loaded", libraries.Reason);
    return libraries;
}

} // namespace

SoundLibraries OpenSoundLibraries(const SoundLibraryNames& names) {
    return OpenLibraries(names, true);
}

SoundLibraryNames SoundLibraryNamesFromEnvironment() {
    SoundLibraryNames names;
    if (const char* sdl = std::getenv("MIRELO_SDL2_LIBRARY"); sdl && *sdl)
        names.Sdl = sdl;
    if (const char* fluid = std::getenv("MIRELO_FLUIDSYNTH_LIBRARY"); fluid && *fluid)
        names.Fluid = fluid;
    return names;
}

const SdlCalls& Sdl() {
    return Usable(ProcessSdl()).Sdl;
}

const FluidCalls& Fluid() {
    return Usable(ProcessFluid()).Fluid;
}

const SdlCalls* SdlIfOpen() {
    const SoundLibraries* libraries = usableSdl.load(std::memory_order_acquire);
    return libraries ? &libraries->Sdl : nullptr;
}

} // namespace mirelo

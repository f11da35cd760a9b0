#include "SoundLibraries.h"

#include "SoundError.h"

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>

namespace mirelo {

namespace {

std::atomic<const SoundLibraries*> usable{nullptr};

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

const SoundLibraries& ProcessLibraries() {
    static const SoundLibraries libraries = OpenSoundLibraries(SoundLibraryNamesFromEnvironment());
    if (libraries.Reason.empty())
        usable.store(&libraries, std::memory_order_release);
    return libraries;
}

const SoundLibraries& UsableLibraries() {
    const SoundLibraries& libraries = ProcessLibraries();
    if (!libraries.Reason.empty())
        throw SoundError("The sound libraries could not be loaded", libraries.Reason);
    return libraries;
}

} // namespace

SoundLibraries OpenSoundLibraries(const SoundLibraryNames& names) {
    SoundLibraries libraries;
    std::string& reason = libraries.Reason;
    // FluidSynth depends on SDL2 itself: a missing SDL2 is named as such.
    void* sdl = Open(names.Sdl, "SDL2", reason);
    void* fluid = sdl ? Open(names.Fluid, "FluidSynth", reason) : nullptr;
    if (!fluid)
        return libraries;
#define MIRELO_FIND_SDL(name) Find(sdl, #name, libraries.Sdl.name, "SDL2", names.Sdl, reason);
#define MIRELO_FIND_FLUID(name)                                                                    \
    Find(fluid, #name, libraries.Fluid.name, "FluidSynth", names.Fluid, reason);
    MIRELO_SDL_CALLS(MIRELO_FIND_SDL)
    MIRELO_FLUID_CALLS(MIRELO_FIND_FLUID)
#undef MIRELO_FIND_SDL
#undef MIRELO_FIND_FLUID
    if (!reason.empty()) {
        // Half a table must never be called.
        libraries.Sdl = {};
        libraries.Fluid = {};
        return libraries;
    }
    libraries.Fluid.omp_set_num_threads =
        reinterpret_cast<void (*)(int)>(dlsym(fluid, "omp_set_num_threads"));
    return libraries;
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
    return UsableLibraries().Sdl;
}

const FluidCalls& Fluid() {
    return UsableLibraries().Fluid;
}

const SdlCalls* SdlIfOpen() {
    const SoundLibraries* libraries = usable.load(std::memory_order_acquire);
    return libraries ? &libraries->Sdl : nullptr;
}

} // namespace mirelo

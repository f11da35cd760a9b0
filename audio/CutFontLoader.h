#pragma once

#include "SoundFontCutter.h"

#include <fluidsynth/types.h>
#include <memory>
#include <string>

namespace mirelo {

struct FluidCalls;

// A cut sound font (SoundFontCutter.h) that FluidSynth can load by name, for
// as long as this lives: the name is one no file has, and the synthesiser's
// loader (InstallCutFontLoader) reads it from memory and from the original.
// The synthesiser reads the samples of a preset when it is first selected, so
// this must outlive the synthesiser it was loaded into.
class CutFontFile {
public:
    // Null when `soundFont` cannot be read or cut (then load it whole).
    static std::unique_ptr<CutFontFile> Make(const std::string& soundFont,
                                             const PresetChoices& keep);
    ~CutFontFile();
    CutFontFile(const CutFontFile&) = delete;
    CutFontFile& operator=(const CutFontFile&) = delete;

    const std::string& Name() const { return name_; }
    int Presets() const { return presets_; }

private:
    CutFontFile(std::string name, int presets) : name_(std::move(name)), presets_(presets) {}
    std::string name_;
    int presets_ = 0;
};

// Gives `synth` a sound font loader that reads cut fonts by their names, and
// every other file as the library's own loader does. Call it before the
// synthesiser loads any font (the library ignores a loader added later).
// False when the library lacks the calls for it: then only whole files load.
bool InstallCutFontLoader(const FluidCalls& lib, fluid_settings_t* settings, fluid_synth_t* synth);

} // namespace mirelo

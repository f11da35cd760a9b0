#pragma once

#include <bitset>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace mirelo {

// A preset as a tune can select it. `AnyBank` stands for the program in every
// bank, for tunes whose bank cannot be told without playing them.
struct PresetChoice {
    int bank = 0;
    int program = 0;
    auto operator<=>(const PresetChoice&) const = default;
};
inline constexpr int AnyBank = -1;
inline constexpr int DrumBank = 128;
using PresetChoices = std::set<PresetChoice>;

// The sixteen MIDI channels, by number from 0 (the drum channel is 9).
using ChannelSet = std::bitset<16>;

// Adds the presets a Standard MIDI File can select to `into`: its program
// changes in bank 0, or in the drum bank on the drum channel (the tenth), and
// the first preset of bank 0 or of the drum bank when a channel may sound a
// note on the preset every channel starts with, before its first program
// change. `fromStart`, when given, is set to those channels. A tune with bank
// selects or system exclusive messages, which can move a channel to another
// bank, adds its programs in every bank, both first presets, and every channel.
// False, adding nothing, when the bytes are not a MIDI file read to its end.
bool TunePresets(std::span<const std::uint8_t> midi, PresetChoices& into,
                 ChannelSet* fromStart = nullptr);
// The same for a file; false when it cannot be read.
bool TuneFilePresets(const std::string& path, PresetChoices& into, ChannelSet* fromStart = nullptr);
// The tunes (*.mid) of a folder, sorted; none when it cannot be read.
std::vector<std::string> TunesInFolder(const std::string& folder);

// A SoundFont 2 file with only some of its presets: the same header and sample
// data, and preset data holding only the presets kept and the instruments they
// use, every sample header with it (so sample numbers stay as they were). The
// synthesiser builds a few kilobytes of structures for each instrument zone it
// is handed; a General MIDI font has thousands, a tune uses a handful.
//
// The cut file is never written: it is read through `Read`, its sample data
// taken from the original as they are asked for.
class CutSoundFont {
public:
    // Reads `count` bytes at `offset` of the original into `to`; false when it cannot.
    using Reader = std::function<bool(std::uint64_t offset, void* to, std::size_t count)>;

    // The original of `size` bytes, cut to the presets `keep` names. Nothing when
    // the original is not laid out as a sound font should be (then only the
    // whole file can be loaded) or when it has none of those presets.
    static std::optional<CutSoundFont> Make(const Reader& original, std::uint64_t size,
                                            const PresetChoices& keep);

    std::uint64_t Size() const { return head_.size() + samplesSize_ + tail_.size(); }
    // Reads `count` bytes at `offset` of the cut file; false past its end or when
    // the original cannot be read.
    bool Read(const Reader& original, std::uint64_t offset, void* to, std::size_t count) const;
    int Presets() const { return presets_; }
    int Instruments() const { return instruments_; }

private:
    // The RIFF header, the original INFO list and the sample list's header.
    std::vector<std::uint8_t> head_;
    // The sample list's contents in the original.
    std::uint64_t samplesAt_ = 0;
    std::uint64_t samplesSize_ = 0;
    // The new preset data list.
    std::vector<std::uint8_t> tail_;
    int presets_ = 0;
    int instruments_ = 0;
};

} // namespace mirelo

// The sound font cutter and the tune scan against any bytes: each must refuse
// or produce something well formed, never crash or read out of bounds. A
// sound font it cuts must cut again to the very same bytes.
#include "SoundFontCutter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

mirelo::CutSoundFont::Reader ReaderOf(const std::uint8_t* data, std::size_t size) {
    return [data, size](std::uint64_t offset, void* to, std::size_t count) {
        if (offset > size || count > size - offset)
            return false;
        std::memcpy(to, data + offset, count);
        return true;
    };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mirelo::PresetChoices keep;
    mirelo::ChannelSet fromStart;
    const bool tune = mirelo::TunePresets({data, size}, keep, &fromStart);
    // What is not a tune adds nothing; a channel that may sound the preset it
    // starts with keeps that preset.
    if (!tune && (!keep.empty() || fromStart.any()))
        std::abort();
    mirelo::ChannelSet melodic = fromStart;
    melodic.reset(9);
    if ((melodic.any() && !keep.count({0, 0})) ||
        (fromStart[9] && !keep.count({mirelo::DrumBank, 0})))
        std::abort();
    // The presets a tune would keep, or (for what is not a tune, or a tune
    // that selects none) piano, a drum kit and one program in any bank.
    if (keep.empty())
        keep = {{0, 0}, {mirelo::DrumBank, 0}, {mirelo::AnyBank, size ? data[size - 1] & 0x7F : 1}};
    const auto reader = ReaderOf(data, size);
    const auto cut = mirelo::CutSoundFont::Make(reader, size, keep);
    if (!cut)
        return 0;
    std::vector<std::uint8_t> bytes(cut->Size());
    if (!cut->Read(reader, 0, bytes.data(), bytes.size()))
        std::abort();
    const auto again =
        mirelo::CutSoundFont::Make(ReaderOf(bytes.data(), bytes.size()), bytes.size(), keep);
    if (!again || again->Size() != bytes.size() || again->Presets() != cut->Presets())
        std::abort();
    std::vector<std::uint8_t> twice(again->Size());
    if (!again->Read(ReaderOf(bytes.data(), bytes.size()), 0, twice.data(), twice.size()) ||
        twice != bytes)
        std::abort();
    return 0;
}

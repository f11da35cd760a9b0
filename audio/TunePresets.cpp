#include "PlainFile.h"
#include "SoundFontCutter.h"

#include <algorithm>
#include <array>
#include <cstring>

// The tune side of the cut: which presets a MIDI file can select.
namespace mirelo {

namespace {

constexpr int DrumChannel = 9;
// Far beyond any tune; a larger file is not read into memory to be scanned.
constexpr std::size_t MaxTuneBytes = 16u << 20;

std::uint32_t Be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// A MIDI variable-length number: at most four bytes.
bool ReadVarLen(const std::uint8_t*& p, const std::uint8_t* end, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (p == end)
            return false;
        const std::uint8_t byte = *p++;
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// A tick for each channel; `Never` where nothing happened on it.
using ChannelTicks = std::array<std::uint64_t, 16>;
constexpr std::uint64_t Never = ~std::uint64_t{0};
constexpr ChannelTicks NeverOnAnyChannel = [] {
    ChannelTicks ticks{};
    ticks.fill(Never);
    return ticks;
}();

struct TuneScan {
    // Channel and program of every program change.
    std::vector<std::pair<int, int>> programs;
    // A bank select or a system exclusive message was seen.
    bool bankMayMove = false;
    // Each channel's first program change in the tracks scanned, by tick.
    ChannelTicks firstProgram = NeverOnAnyChannel;
    // The channels that may sound a note before their first program change.
    ChannelSet fromStart;
};

// The player sends a track's events in order, and the events due by its
// clock track by track, the first track first. A note comes surely after a
// program change of its channel earlier in its own track, or in an earlier
// track at the same tick or before; any other note may come before it.
bool ScanTrack(const std::uint8_t* p, const std::uint8_t* end, TuneScan& scan) {
    std::uint8_t running = 0;
    std::uint64_t tick = 0;
    ChannelSet programmed;
    ChannelTicks firstProgram = NeverOnAnyChannel;
    while (p != end) {
        std::uint32_t delta = 0;
        if (!ReadVarLen(p, end, delta) || p == end)
            return false;
        tick += delta;
        std::uint8_t status = *p;
        if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            ++p;
            if (status == 0xFF && p++ == end)
                return false;
            std::uint32_t length = 0;
            if (!ReadVarLen(p, end, length) || length > static_cast<std::size_t>(end - p))
                return false;
            p += length;
            if (status != 0xFF)
                scan.bankMayMove = true;
            // Meta events and system exclusive messages cancel the running status.
            running = 0;
            continue;
        }
        if (status & 0x80) {
            if (status >= 0xF0)
                return false;
            running = status;
            ++p;
        } else if (!running) {
            return false;
        }
        const int kind = running & 0xF0;
        const std::size_t bytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
        if (static_cast<std::size_t>(end - p) < bytes)
            return false;
        const int channel = running & 0x0F;
        if (kind == 0xC0) {
            scan.programs.emplace_back(channel, p[0] & 0x7F);
            programmed.set(static_cast<std::size_t>(channel));
            firstProgram[channel] = std::min(firstProgram[channel], tick);
        }
        if (kind == 0x90 && p[1] != 0 && !programmed[static_cast<std::size_t>(channel)] &&
            scan.firstProgram[channel] > tick)
            scan.fromStart.set(static_cast<std::size_t>(channel));
        if (kind == 0xB0 && (p[0] == 0 || p[0] == 32))
            scan.bankMayMove = true;
        p += bytes;
    }
    for (std::size_t c = 0; c < firstProgram.size(); ++c)
        scan.firstProgram[c] = std::min(scan.firstProgram[c], firstProgram[c]);
    return true;
}

} // namespace

bool TunePresets(std::span<const std::uint8_t> midi, PresetChoices& into, ChannelSet* fromStart) {
    const std::uint8_t* p = midi.data();
    const std::uint8_t* const end = p + midi.size();
    if (midi.size() < 14 || std::memcmp(p, "MThd", 4) != 0 || Be32(p + 4) < 6 ||
        Be32(p + 4) > midi.size() - 8)
        return false;
    p += 8 + Be32(p + 4);
    TuneScan scan;
    int tracks = 0;
    while (static_cast<std::size_t>(end - p) >= 8) {
        const std::uint32_t length = Be32(p + 4);
        if (length > static_cast<std::size_t>(end - p) - 8)
            return false;
        if (std::memcmp(p, "MTrk", 4) == 0) {
            if (!ScanTrack(p + 8, p + 8 + length, scan))
                return false;
            ++tracks;
        }
        p += 8 + length;
    }
    if (tracks == 0)
        return false;
    if (scan.bankMayMove)
        scan.fromStart.set();
    ChannelSet melodic = scan.fromStart;
    melodic.reset(DrumChannel);
    if (melodic.any())
        into.insert({0, 0});
    if (scan.fromStart[DrumChannel])
        into.insert({DrumBank, 0});
    if (scan.bankMayMove)
        into.insert({AnyBank, 0});
    if (fromStart)
        *fromStart = scan.fromStart;
    for (const auto& [channel, program] : scan.programs) {
        const int bank = scan.bankMayMove ? AnyBank : channel == DrumChannel ? DrumBank : 0;
        into.insert({bank, program});
    }
    return true;
}

bool TuneFilePresets(const std::string& path, PresetChoices& into, ChannelSet* fromStart) {
    const std::optional<std::vector<std::uint8_t>> bytes =
        ReadRegularFile(path, MaxTuneBytes, true);
    return bytes && TunePresets(*bytes, into, fromStart);
}

std::vector<std::string> TunesInFolder(const std::string& folder) {
    return RegularFilesIn(folder, ".mid");
}

} // namespace mirelo

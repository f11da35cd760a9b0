#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mirelo {

// The 20-byte wave format at the head of each sound record, as handed to the device.
struct WaveFormat {
    std::uint16_t FormatTag = 1; // 1: PCM
    std::uint16_t Channels = 1;
    std::uint32_t SamplesPerSec = 8000;
    std::uint32_t AvgBytesPerSec = 16000;
    std::uint16_t BlockAlign = 2;
    std::uint16_t BitsPerSample = 16;
    std::uint16_t ExtraSize = 0;
    std::uint16_t Padding = 0;

    bool operator==(const WaveFormat&) const = default;
};

inline constexpr int SoundHeaderSize = 44;
inline constexpr int SoundNameCapacity = 11;

// One sound of a library: the record header exactly as stored, then its samples.
struct SoundEntry {
    WaveFormat Format;
    std::uint8_t NameLength = 0;
    std::array<char, SoundNameCapacity> Name{};
    std::int32_t Pan = 0;    // device pan units, 0 = centre
    std::int32_t Volume = 0; // device attenuation units, 0 = full volume
    std::int32_t Size = 0;   // bytes in Data
    std::vector<std::uint8_t> Data;

    // The name as text; a length beyond the field is cut to the field.
    std::string NameText() const {
        const std::size_t n = NameLength < SoundNameCapacity ? NameLength : SoundNameCapacity;
        return std::string(Name.data(), n);
    }
    // Stores `name`, cut to the field's 11 characters, unused positions 0.
    void SetName(const std::string& name) {
        Name.fill('\0');
        NameLength =
            static_cast<std::uint8_t>(name.size() < Name.size() ? name.size() : Name.size());
        for (std::size_t i = 0; i < NameLength; ++i)
            Name[i] = name[i];
    }

    bool operator==(const SoundEntry&) const = default;
};

} // namespace mirelo

#pragma once

#include <stdexcept>
#include <string>

namespace mirelo {

// The sound components report every failure as one of these, carrying the fixed
// message the player may see. `Reason()` holds the device's own words when the
// failure came from the sound device or the sequencer, so a caller can say why.
class SoundError : public std::runtime_error {
public:
    explicit SoundError(const std::string& message, std::string reason = {})
        : std::runtime_error(message), reason_(std::move(reason)) {}

    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// Messages of the sound library reader; the tests compare against these.
inline constexpr const char* NotASoundLibraryText = "Not a valid Sound Library File";
inline constexpr const char* NoSoundsText = "TDGCSounds: GemMem Failed for FSounds";
inline constexpr const char* NoSoundDataText = "TDGCSounds: GemMem Failed for Sound.Data";
inline constexpr const char* StreamReadErrorText = "Stream read error";

} // namespace mirelo

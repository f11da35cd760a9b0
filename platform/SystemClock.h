#pragma once

#include <cstdint>

namespace mirelo {

// The two clocks the game reads: a millisecond tick count for the game clock and
// the blinking warning, and the time of day that seeds every deal. Tests pass
// their own to make time and deals exact.
class SystemClock {
public:
    virtual ~SystemClock() = default;
    // Milliseconds from a monotonic clock, as a 32-bit count that wraps.
    virtual std::uint32_t GetTickCount() const = 0;
    // Milliseconds since midnight, universal time: 0 .. 86,399,999.
    virtual std::uint32_t TimeOfDayMilliseconds() const = 0;
};

// The real clocks.
class RealClock final : public SystemClock {
public:
    std::uint32_t GetTickCount() const override;
    std::uint32_t TimeOfDayMilliseconds() const override;
};

} // namespace mirelo

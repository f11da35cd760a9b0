#pragma once

#include "SystemClock.h"

namespace mirelo {

// A clock that shows whatever the test sets: exact time and exact deals.
class FakeClock final : public SystemClock {
public:
    std::uint32_t GetTickCount() const override { return Tick; }
    std::uint32_t TimeOfDayMilliseconds() const override { return TimeOfDay; }

    void Advance(std::uint32_t ms) { Tick += ms; }

    std::uint32_t Tick = 0;
    std::uint32_t TimeOfDay = 0;
};

} // namespace mirelo

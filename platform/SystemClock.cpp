#include "SystemClock.h"

#include <chrono>

namespace mirelo {

std::uint32_t RealClock::GetTickCount() const {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    // Keep the low 32 bits: the game's clock arithmetic is written for a wrapping count.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

std::uint32_t RealClock::TimeOfDayMilliseconds() const {
    using namespace std::chrono;
    const auto now = time_point_cast<milliseconds>(system_clock::now());
    const auto sinceMidnight = now - floor<days>(now);
    return static_cast<std::uint32_t>(sinceMidnight.count());
}

} // namespace mirelo

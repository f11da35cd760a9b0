#pragma once

#include <string>

namespace mirelo {

// Seconds as MM:SS, two digits each with a leading zero: 125 gives "02:05",
// 5999 gives "99:59". Past 99 minutes the minutes simply grow ("100:10"), so a
// total beyond the limit still reads as the time it is.
std::string MinutesSeconds(int totalSeconds);

// The title a win earns by its time alone, when it does not enter the Hall of Fame.
const char* WinCaption(int totalSeconds);

inline constexpr const char* HallOfFameCaption = "You made it in the Hall of Fame !";

// "Congratulations !! You WON !", a line break, "Your time is : MM:SS".
std::string WinMessage(int totalSeconds);

} // namespace mirelo

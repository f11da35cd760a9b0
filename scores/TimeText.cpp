#include "TimeText.h"

#include <cstdio>

namespace mirelo {

std::string MinutesSeconds(int totalSeconds) {
    if (totalSeconds < 0)
        totalSeconds = 0;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", totalSeconds / 60, totalSeconds % 60);
    return text;
}

const char* WinCaption(int totalSeconds) {
    if (totalSeconds <= 120)
        return "You are a Great Master !";
    if (totalSeconds <= 180)
        return "You are a Real Master !";
    if (totalSeconds <= 240)
        return "You are a Master !";
    if (totalSeconds <= 300)
        return "Very good !";
    if (totalSeconds <= 360)
        return "Not bad, eh.";
    return "Train yourself and you shall become a master !";
}

std::string WinMessage(int totalSeconds) {
    return "Congratulations !! You WON !\r\nYour time is : " + MinutesSeconds(totalSeconds);
}

} // namespace mirelo

#include "TimeText.h"

#include <gtest/gtest.h>
#include <string>

using namespace mirelo;

namespace {

TEST(TimeText, MinutesAndSecondsWithLeadingZeros) {
    EXPECT_EQ(MinutesSeconds(0), "00:00");
    EXPECT_EQ(MinutesSeconds(65), "01:05");
    EXPECT_EQ(MinutesSeconds(239), "03:59");
    EXPECT_EQ(MinutesSeconds(510), "08:30");
    EXPECT_EQ(MinutesSeconds(5999), "99:59");
}

TEST(TimeText, CaptionChangesJustPastEachThreshold) {
    struct Case {
        int total;
        const char* caption;
    };
    const Case cases[] = {
        {0, "You are a Great Master !"},
        {120, "You are a Great Master !"},
        {121, "You are a Real Master !"},
        {180, "You are a Real Master !"},
        {181, "You are a Master !"},
        {240, "You are a Master !"},
        {241, "Very good !"},
        {300, "Very good !"},
        {301, "Not bad, eh."},
        {360, "Not bad, eh."},
        {361, "Train yourself and you shall become a master !"},
        {510, "Train yourself and you shall become a master !"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(WinCaption(c.total), c.caption) << c.total;
}

TEST(TimeText, WinMessageShowsTheTimeOnItsSecondLine) {
    EXPECT_EQ(WinMessage(239), "Congratulations !! You WON !\r\nYour time is : 03:59");
    EXPECT_STREQ(HallOfFameCaption, "You made it in the Hall of Fame !");
}

} // namespace

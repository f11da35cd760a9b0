#include "HallOfFame.h"

#include <gtest/gtest.h>
#include <string>

using namespace mirelo;

namespace {

TEST(HallEntry, DefaultLinesRunFromFourToEightAndAHalfMinutes) {
    const char* const expected[HallRanks] = {
        "---       240    0", "---       270    0", "---       300    0", "---       330    0",
        "---       360    0", "---       390    0", "---       420    0", "---       450    0",
        "---       480    0", "---       510    0"};
    for (int rank = 1; rank <= HallRanks; ++rank) {
        SCOPED_TRACE(rank);
        const std::string entry = DefaultHallEntry(rank);
        EXPECT_EQ(entry, expected[rank - 1]);
        EXPECT_EQ(entry.size(), 18u);
        EXPECT_TRUE(IsWellFormedHallEntry(entry));
        EXPECT_EQ(HallEntryTotal(entry), 210 + 30 * rank);
        EXPECT_EQ(HallEntryPenalty(entry), 0);
        EXPECT_EQ(HallEntryName(entry), "---     ");
    }
}

struct NameCase {
    const char* player;
    const char* nameColumn;
};

TEST(HallEntry, NameIsPaddedOrCutToEightCharacters) {
    const NameCase cases[] = {
        {"Player1", "Player1 "},
        {"Eightchr", "Eightchr"},
        {"LongerThanEight", "LongerTh"},
        {"", "        "},
        {" lead", " lead   "},
        // Two-byte and three-byte characters count as one column each.
        {"Jérôme", "Jérôme  "},
        {"Łukasz Żółw", "Łukasz Ż"},
        {"東西南北中發白春夏", "東西南北中發白春"},
        // Four-byte character kept whole at the cut.
        {"1234567\xF0\x9F\x80\x84X", "1234567\xF0\x9F\x80\x84"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.player);
        const std::string entry = MakeHallEntry(c.player, 239, 12);
        EXPECT_EQ(entry, std::string(c.nameColumn) + "  239   12");
        EXPECT_TRUE(IsWellFormedHallEntry(entry));
        EXPECT_EQ(HallEntryName(entry), c.nameColumn);
        EXPECT_EQ(HallEntryTotal(entry), 239);
        EXPECT_EQ(HallEntryPenalty(entry), 12);
    }
}

TEST(HallEntry, NameThatWouldBreakTheSettingsLineIsCleaned) {
    // A line break or tab becomes a space; a byte that is not UTF-8 becomes U+FFFD.
    const NameCase cases[] = {
        {"a\nb\tc", "a b c   "},
        {"x\xFFy", "x\xEF\xBF\xBDy     "},
        // A sequence cut short at the end: each stray byte is one character.
        {"ab\xE6\x9D", "ab\xEF\xBF\xBD\xEF\xBF\xBD    "},
        // Overlong forms and a surrogate are not UTF-8 either.
        {"\xE0\x80\xAFok", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDok   "},
        {"\xC0\xAF\xED\xA0\x80zzz",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDzzz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.player);
        const std::string entry = MakeHallEntry(c.player, 5, 0);
        EXPECT_EQ(entry, std::string(c.nameColumn) + "    5    0");
        EXPECT_TRUE(IsWellFormedHallEntry(entry));
    }
}

TEST(HallEntry, NumbersAreKeptWithinTheirFourColumns) {
    EXPECT_EQ(MakeHallEntry("P", 5999, 9999), "P        5999 9999");
    EXPECT_EQ(MakeHallEntry("P", 12345, 10000), "P        9999 9999");
    EXPECT_EQ(MakeHallEntry("P", -3, -40), "P           0    0");
    EXPECT_EQ(MakeHallEntry("P", 0, 7), "P           0    7");
}

TEST(HallEntry, WellFormedAcceptsOnlyTheColumnLayout) {
    EXPECT_TRUE(IsWellFormedHallEntry("Player1   239   12"));
    EXPECT_TRUE(IsWellFormedHallEntry("Player1  0239 0012"));
    EXPECT_TRUE(IsWellFormedHallEntry("          239    0"));
    EXPECT_TRUE(IsWellFormedHallEntry("Jérôme    239   12"));

    const char* const malformed[] = {
        "",
        "Player1   239  12",     // 17 characters
        "Player1   239   12 ",   // 19 characters
        "Player10   239   12",   // name longer than 8 characters
        "Player1   2x9   12",    // letter in the total
        "Player1   239   1a",    // letter in the penalty
        "Player1         12",    // no digit in the total
        "Player1   239     ",    // no digit in the penalty
        "Player1  239    12",    // total not right-aligned
        "Player1   -39   12",    // sign in the total
        "Player1XX 239   12",    // no separator in column 9
        "Player1   23912345",    // no separator in column 14
        "Play\ner1  239   12",   // line break in the name
        "Player\xFF   239   12", // byte that is not UTF-8
        "Jérôme  239   12",      // 18 bytes but only 16 characters
        // Name column ends inside a two-byte character.
        "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3  239   12",
    };
    for (const char* text : malformed) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(IsWellFormedHallEntry(text));
        EXPECT_EQ(HallEntryTotal(text), 0);
        EXPECT_EQ(HallEntryName(text), "");
    }
}

} // namespace

#pragma once

#include <array>
#include <string>
#include <string_view>

namespace mirelo {

inline constexpr int HallRanks = 10;
// One table per layout: 1 Traditional, 2 Dragon, 3 Big Hole, 4 Theater, 5 Beatle.
inline constexpr int HallLayouts = 5;
// Both time columns are four characters wide.
inline constexpr int HallMaxSeconds = 9999;

// A HallEntry is 18 characters: name (8), space, total (4), space, penalty (4).
// Characters are UTF-8 code points, so a name with accents still lines up.

// "---", six spaces, 210 + 30 * rank right-aligned in 4, "    0".
std::string DefaultHallEntry(int rank);

// The name is padded with spaces to 8 characters or cut to 8, so the columns
// always line up. Control characters become spaces and bytes that are not
// UTF-8 become U+FFFD, so the entry survives a round trip through the settings
// file. Both numbers are kept within 0..9999 to fit their columns.
std::string MakeHallEntry(std::string_view player, int total, int penalty);

// 18 valid UTF-8 code points, no control characters, spaces in columns 9 and 14,
// and each time column spaces then at least one digit.
bool IsWellFormedHallEntry(std::string_view entry);

// Readers of the columns of a well-formed entry. Anything else reads as an
// empty name and 0 seconds rather than failing.
std::string HallEntryName(std::string_view entry);
int HallEntryTotal(std::string_view entry);
int HallEntryPenalty(std::string_view entry);

// The ten best times of each layout. Every stored entry is well formed, so the
// drawing can cut columns without checking. A layout or rank out of range is
// ignored: reads give an empty entry, writes change nothing.
class HallOfFame {
public:
    HallOfFame();

    const std::string& Entry(int layout, int rank) const;
    // A hand-edited entry that would break the columns is replaced by the
    // default of its rank.
    void SetEntry(int layout, int rank, std::string_view text);

    // Settings-file section of a layout, "" when out of range.
    static const char* SectionName(int layout);
    // "Rank1" .. "Rank10", "" when out of range.
    static std::string KeyName(int rank);

    int RankTenTotal(int layout) const;
    // Only a total strictly faster than rank 10 enters; a tie with rank 10
    // does not, whatever the penalties.
    bool Qualifies(int layout, int total) const;

    // Enters a qualifying result and returns the rank it took (1..10), or 0
    // when nothing was inserted. Existing entries are never reordered: they
    // only move one rank down, and rank 10 drops out.
    int AddHall(int layout, std::string_view player, int total, int penalty);

    // Goes up with every change to any table, so a picture of a table can tell
    // whether it is still current without comparing the entries.
    unsigned Changes() const { return changes_; }

private:
    std::array<std::array<std::string, HallRanks>, HallLayouts> tables_;
    unsigned changes_ = 0;
};

} // namespace mirelo

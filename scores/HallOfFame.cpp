#include "HallOfFame.h"

#include <algorithm>
#include <cstdio>

namespace mirelo {

namespace {

constexpr int NameColumns = 8;
// Columns 9..18 are plain ASCII: " tttt pppp".
constexpr std::size_t TimeBytes = 10;
constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

bool IsContinuation(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

// Length of the well-formed UTF-8 sequence at pos (overlong forms, surrogates
// and values past U+10FFFF rejected), 0 when the bytes there are not one.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& codePoint) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > text.size() || at(1) < low || at(1) > high)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(at(i)))
            return 0;
        codePoint = (codePoint << 6) | (at(i) & 0x3F);
    }
    return length;
}

// C0, DEL and C1 controls: a line break here would split the settings line.
bool IsControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

bool IsWellFormedName(std::string_view name) {
    int count = 0;
    for (std::size_t pos = 0; pos < name.size(); ++count) {
        char32_t codePoint = 0;
        const std::size_t length = DecodeUtf8(name, pos, codePoint);
        if (length == 0 || IsControl(codePoint))
            return false;
        pos += length;
    }
    return count == NameColumns;
}

// Four characters: spaces, then at least one digit, nothing after the digits.
bool IsTimeColumn(std::string_view column) {
    std::size_t i = 0;
    while (i < column.size() && column[i] == ' ')
        ++i;
    if (i == column.size())
        return false;
    for (; i < column.size(); ++i) {
        if (column[i] < '0' || column[i] > '9')
            return false;
    }
    return true;
}

int ReadTimeColumn(std::string_view column) {
    int value = 0;
    for (const char c : column) {
        if (c != ' ')
            value = value * 10 + (c - '0');
    }
    return value;
}

int ClampSeconds(int seconds) {
    return std::clamp(seconds, 0, HallMaxSeconds);
}

bool IsLayout(int layout) {
    return layout >= 1 && layout <= HallLayouts;
}
bool IsRank(int rank) {
    return rank >= 1 && rank <= HallRanks;
}

// Total and penalty of an entry already known to be well formed.
int StoredTotal(const std::string& entry) {
    return ReadTimeColumn(std::string_view(entry).substr(entry.size() - 9, 4));
}
int StoredPenalty(const std::string& entry) {
    return ReadTimeColumn(std::string_view(entry).substr(entry.size() - 4, 4));
}

} // namespace

std::string DefaultHallEntry(int rank) {
    char text[32];
    std::snprintf(text, sizeof text, "---      %4d    0", 210 + 30 * rank);
    return text;
}

std::string MakeHallEntry(std::string_view player, int total, int penalty) {
    std::string entry;
    int count = 0;
    for (std::size_t pos = 0; pos < player.size() && count < NameColumns; ++count) {
        char32_t codePoint = 0;
        const std::size_t length = DecodeUtf8(player, pos, codePoint);
        if (length == 0) {
            entry += ReplacementCharacter;
            ++pos;
        } else {
            if (IsControl(codePoint))
                entry += ' ';
            else
                entry += player.substr(pos, length);
            pos += length;
        }
    }
    entry.append(static_cast<std::size_t>(NameColumns - count), ' ');
    char numbers[16];
    std::snprintf(numbers, sizeof numbers, " %4d %4d", ClampSeconds(total), ClampSeconds(penalty));
    return entry + numbers;
}

bool IsWellFormedHallEntry(std::string_view entry) {
    if (entry.size() < TimeBytes)
        return false;
    const std::string_view times = entry.substr(entry.size() - TimeBytes);
    return times[0] == ' ' && IsTimeColumn(times.substr(1, 4)) && times[5] == ' ' &&
           IsTimeColumn(times.substr(6, 4)) &&
           IsWellFormedName(entry.substr(0, entry.size() - TimeBytes));
}

std::string HallEntryName(std::string_view entry) {
    if (!IsWellFormedHallEntry(entry))
        return {};
    return std::string(entry.substr(0, entry.size() - TimeBytes));
}

int HallEntryTotal(std::string_view entry) {
    if (!IsWellFormedHallEntry(entry))
        return 0;
    return ReadTimeColumn(entry.substr(entry.size() - 9, 4));
}

int HallEntryPenalty(std::string_view entry) {
    if (!IsWellFormedHallEntry(entry))
        return 0;
    return ReadTimeColumn(entry.substr(entry.size() - 4, 4));
}

HallOfFame::HallOfFame() {
    for (auto& table : tables_) {
        for (int rank = 1; rank <= HallRanks; ++rank)
            table[rank - 1] = DefaultHallEntry(rank);
    }
}

const std::string& HallOfFame::Entry(int layout, int rank) const {
    static const std::string none;
    if (!IsLayout(layout) || !IsRank(rank))
        return none;
    return tables_[layout - 1][rank - 1];
}

void HallOfFame::SetEntry(int layout, int rank, std::string_view text) {
    if (!IsLayout(layout) || !IsRank(rank))
        return;
    tables_[layout - 1][rank - 1] =
        IsWellFormedHallEntry(text) ? std::string(text) : DefaultHallEntry(rank);
    ++changes_;
}

const char* HallOfFame::SectionName(int layout) {
    static constexpr const char* names[HallLayouts] = {"Traditional", "Dragon", "BigHole",
                                                       "Theater", "Beatle"};
    return IsLayout(layout) ? names[layout - 1] : "";
}

std::string HallOfFame::KeyName(int rank) {
    return IsRank(rank) ? "Rank" + std::to_string(rank) : std::string();
}

int HallOfFame::RankTenTotal(int layout) const {
    return IsLayout(layout) ? StoredTotal(tables_[layout - 1][HallRanks - 1]) : 0;
}

bool HallOfFame::Qualifies(int layout, int total) const {
    return IsLayout(layout) && RankTenTotal(layout) > ClampSeconds(total);
}

int HallOfFame::AddHall(int layout, std::string_view player, int total, int penalty) {
    // The numbers are compared exactly as they will be stored.
    total = ClampSeconds(total);
    penalty = ClampSeconds(penalty);
    // Without this a slower time would overwrite rank 10.
    if (!Qualifies(layout, total))
        return 0;
    auto& table = tables_[layout - 1];

    int d = HallRanks;
    for (int rank = 1; rank <= HallRanks; ++rank) {
        if (StoredTotal(table[rank - 1]) >= total) {
            d = rank;
            break;
        }
    }
    // One comparison only: on a tie the new time goes just below the first
    // equal total unless that one carried a larger penalty.
    if (StoredTotal(table[d - 1]) == total && StoredPenalty(table[d - 1]) <= penalty) {
        if (d == HallRanks)
            return 0;
        ++d;
    }
    for (int rank = HallRanks; rank > d; --rank)
        table[rank - 1] = std::move(table[rank - 2]);
    table[d - 1] = MakeHallEntry(player, total, penalty);
    ++changes_;
    return d;
}

} // namespace mirelo

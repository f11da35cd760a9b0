// Hall of Fame entries come back from a settings file anyone can edit, and the
// player's name from a text box. Whatever arrives, the tables must keep
// entries whose columns line up, and an insertion must only shift entries.
//
// Input: lines, each one command.
//   "S<layout><rank><text>"            SetEntry; layout and rank are the byte minus '0'
//   "A<layout><total> <penalty> <name>" AddHall
//   anything else                      the line is read as an entry on its own
#include "HallOfFame.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace mirelo;

namespace {

using Tables = std::array<std::array<std::string, HallRanks>, HallLayouts>;

Tables Snapshot(const HallOfFame& hall) {
    Tables tables;
    for (int layout = 1; layout <= HallLayouts; ++layout) {
        for (int rank = 1; rank <= HallRanks; ++rank)
            tables[layout - 1][rank - 1] = hall.Entry(layout, rank);
    }
    return tables;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool Ascending(const std::array<std::string, HallRanks>& table) {
    for (int rank = 1; rank < HallRanks; ++rank) {
        if (HallEntryTotal(table[rank - 1]) > HallEntryTotal(table[rank]))
            return false;
    }
    return true;
}

// A number up to the next space; anything unreadable counts as 0.
int TakeNumber(std::string_view& text) {
    const std::size_t end = std::min(text.find(' '), text.size());
    int value = 0;
    std::from_chars(text.data(), text.data() + end, value);
    text.remove_prefix(std::min(end + 1, text.size()));
    return value;
}

void CheckEntryText(std::string_view line) {
    const bool wellFormed = IsWellFormedHallEntry(line);
    const int total = HallEntryTotal(line);
    const int penalty = HallEntryPenalty(line);
    const std::string name = HallEntryName(line);
    if (!wellFormed) {
        Check(total == 0 && penalty == 0 && name.empty());
        return;
    }
    Check(total >= 0 && total <= HallMaxSeconds && penalty >= 0 && penalty <= HallMaxSeconds);
    // Rebuilding an entry from its columns gives the same columns back.
    const std::string again = MakeHallEntry(name, total, penalty);
    Check(IsWellFormedHallEntry(again));
    Check(HallEntryName(again) == name && HallEntryTotal(again) == total &&
          HallEntryPenalty(again) == penalty);
}

void SetEntry(HallOfFame& hall, std::string_view command) {
    if (command.size() < 2)
        return;
    const int layout = static_cast<unsigned char>(command[0]) - '0';
    const int rank = static_cast<unsigned char>(command[1]) - '0';
    const std::string_view text = command.substr(2);
    const Tables before = Snapshot(hall);
    hall.SetEntry(layout, rank, text);
    Tables expected = before;
    if (layout >= 1 && layout <= HallLayouts && rank >= 1 && rank <= HallRanks)
        expected[layout - 1][rank - 1] =
            IsWellFormedHallEntry(text) ? std::string(text) : DefaultHallEntry(rank);
    Check(Snapshot(hall) == expected);
}

void AddHall(HallOfFame& hall, std::string_view command) {
    if (command.empty())
        return;
    const int layout = static_cast<unsigned char>(command[0]) - '0';
    command.remove_prefix(1);
    const int total = TakeNumber(command);
    const int penalty = TakeNumber(command);
    const std::string_view player = command;

    const Tables before = Snapshot(hall);
    const bool qualifies = hall.Qualifies(layout, total);
    const int rank = hall.AddHall(layout, player, total, penalty);
    const Tables after = Snapshot(hall);

    Check(rank >= 0 && rank <= HallRanks);
    Check((rank != 0) == qualifies);
    if (rank == 0) {
        Check(after == before);
        return;
    }
    for (int other = 1; other <= HallLayouts; ++other) {
        if (other != layout)
            Check(after[other - 1] == before[other - 1]);
    }
    const auto& was = before[layout - 1];
    const auto& now = after[layout - 1];
    Check(now[rank - 1] == MakeHallEntry(player, total, penalty));
    for (int r = 1; r < rank; ++r)
        Check(now[r - 1] == was[r - 1]);
    for (int r = rank + 1; r <= HallRanks; ++r)
        Check(now[r - 1] == was[r - 2]);
    // A hand-edited table may be out of order; one that was in order stays so.
    if (Ascending(was))
        Check(Ascending(now));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HallOfFame hall;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(std::min(end + 1, input.size()));

        if (!line.empty() && line[0] == 'S')
            SetEntry(hall, line.substr(1));
        else if (!line.empty() && line[0] == 'A')
            AddHall(hall, line.substr(1));
        else
            CheckEntryText(line);

        for (int layout = 1; layout <= HallLayouts; ++layout) {
            for (int rank = 1; rank <= HallRanks; ++rank)
                Check(IsWellFormedHallEntry(hall.Entry(layout, rank)));
        }
    }
    return 0;
}

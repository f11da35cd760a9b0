#include "HallOfFame.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace mirelo;

namespace {

std::vector<std::string> Table(const HallOfFame& hall, int layout) {
    std::vector<std::string> entries;
    for (int rank = 1; rank <= HallRanks; ++rank)
        entries.push_back(hall.Entry(layout, rank));
    return entries;
}

std::vector<std::string> DefaultTable() {
    std::vector<std::string> entries;
    for (int rank = 1; rank <= HallRanks; ++rank)
        entries.push_back(DefaultHallEntry(rank));
    return entries;
}

TEST(HallOfFame, EveryLayoutStartsWithTheDefaultLines) {
    const HallOfFame hall;
    for (int layout = 1; layout <= HallLayouts; ++layout) {
        EXPECT_EQ(Table(hall, layout), DefaultTable()) << "layout " << layout;
        EXPECT_EQ(hall.RankTenTotal(layout), 510);
    }
}

TEST(HallOfFame, SettingsSectionsAndKeys) {
    const char* const sections[] = {"Traditional", "Dragon", "BigHole", "Theater", "Beatle"};
    for (int layout = 1; layout <= HallLayouts; ++layout)
        EXPECT_STREQ(HallOfFame::SectionName(layout), sections[layout - 1]);
    EXPECT_EQ(HallOfFame::KeyName(1), "Rank1");
    EXPECT_EQ(HallOfFame::KeyName(9), "Rank9");
    EXPECT_EQ(HallOfFame::KeyName(10), "Rank10");

    EXPECT_STREQ(HallOfFame::SectionName(0), "");
    EXPECT_STREQ(HallOfFame::SectionName(6), "");
    EXPECT_EQ(HallOfFame::KeyName(0), "");
    EXPECT_EQ(HallOfFame::KeyName(11), "");
}

TEST(HallOfFame, SetEntryKeepsWellFormedTextAndRepairsTheRest) {
    HallOfFame hall;
    hall.SetEntry(2, 7, "Jérôme    199    5");
    EXPECT_EQ(hall.Entry(2, 7), "Jérôme    199    5");
    hall.SetEntry(2, 8, "          199    5");
    EXPECT_EQ(hall.Entry(2, 8), "          199    5") << "an empty name keeps its spaces";

    // Each broken value becomes the default of its own rank.
    const char* const broken[] = {"Player1   239  12", "Player1   2O9   12", "Player1XX 239   12",
                                  "LongName12  239   12", ""};
    for (const char* text : broken) {
        SCOPED_TRACE(text);
        hall.SetEntry(3, 4, "Other     100    0");
        hall.SetEntry(3, 4, text);
        EXPECT_EQ(hall.Entry(3, 4), "---       330    0");
    }
    EXPECT_EQ(Table(hall, 1), DefaultTable()) << "other layouts untouched";
}

TEST(HallOfFame, OutOfRangeLayoutOrRankIsIgnored) {
    HallOfFame hall;
    const std::pair<int, int> outside[] = {{0, 1}, {6, 1}, {-1, 1}, {1, 0}, {1, 11}, {3, -7}};
    for (const auto& [layout, rank] : outside) {
        SCOPED_TRACE(testing::Message() << layout << "/" << rank);
        EXPECT_EQ(hall.Entry(layout, rank), "");
        hall.SetEntry(layout, rank, "Intruder  100    0");
    }
    for (const int layout : {0, 6, 100}) {
        EXPECT_EQ(hall.RankTenTotal(layout), 0);
        EXPECT_FALSE(hall.Qualifies(layout, 10));
        EXPECT_EQ(hall.AddHall(layout, "Intruder", 10, 0), 0);
    }
    for (int layout = 1; layout <= HallLayouts; ++layout)
        EXPECT_EQ(Table(hall, layout), DefaultTable());
}

TEST(HallOfFame, OnlyATimeFasterThanRankTenQualifies) {
    HallOfFame hall;
    EXPECT_TRUE(hall.Qualifies(1, 509));
    EXPECT_FALSE(hall.Qualifies(1, 510));
    EXPECT_FALSE(hall.Qualifies(1, 511));

    // A tie with rank 10 stays out even with a smaller penalty.
    hall.SetEntry(4, 10, "Slow      510   90");
    EXPECT_EQ(hall.AddHall(4, "Player1", 510, 0), 0);
    EXPECT_EQ(hall.AddHall(4, "Player1", 6000, 0), 0);
    EXPECT_EQ(hall.Entry(4, 10), "Slow      510   90");
    EXPECT_EQ(Table(hall, 4)[0], DefaultHallEntry(1));
}

// The window redraws its picture of the table only when this count moves.
TEST(HallOfFame, ChangesCountsEveryChangeAndNothingElse) {
    HallOfFame hall;
    const unsigned start = hall.Changes();
    EXPECT_EQ(hall.AddHall(1, "Player1", 510, 0), 0); // refused: no change
    hall.SetEntry(9, 1, "Ada        61    0");        // no such layout
    EXPECT_EQ(hall.Changes(), start);
    hall.SetEntry(2, 3, "Ada        61    0");
    EXPECT_EQ(hall.Changes(), start + 1);
    EXPECT_EQ(hall.AddHall(1, "Player1", 100, 0), 1);
    EXPECT_EQ(hall.Changes(), start + 2);
}

TEST(HallOfFame, FastestTimeTakesRankOneAndPushesTheRestDown) {
    HallOfFame hall;
    EXPECT_EQ(hall.AddHall(1, "Player1", 239, 0), 1);

    EXPECT_EQ(hall.Entry(1, 1), "Player1   239    0");
    for (int rank = 2; rank <= HallRanks; ++rank)
        EXPECT_EQ(hall.Entry(1, rank), DefaultHallEntry(rank - 1));
    EXPECT_EQ(hall.RankTenTotal(1), 480) << "08:30 dropped";
    for (int layout = 2; layout <= HallLayouts; ++layout)
        EXPECT_EQ(Table(hall, layout), DefaultTable());
}

TEST(HallOfFame, SlowestQualifyingTimeTakesRankTen) {
    HallOfFame hall;
    EXPECT_EQ(hall.AddHall(5, "Last", 500, 3), 10);
    EXPECT_EQ(hall.Entry(5, 10), "Last      500    3");
    EXPECT_EQ(hall.Entry(5, 9), DefaultHallEntry(9));

    // A tie with rank 9 and no larger stored penalty lands just below it.
    EXPECT_EQ(hall.AddHall(5, "Tie", 480, 0), 10);
    EXPECT_EQ(hall.Entry(5, 9), DefaultHallEntry(9));
    EXPECT_EQ(hall.Entry(5, 10), "Tie       480    0");
}

TEST(HallOfFame, EqualTotalsBreakTiesOnOnePenaltyOnly) {
    struct Case {
        int penalty;
        int expectedRank;
    };
    // Rank 2 is faster; ranks 3 and 4 share 300 s, rank 4 with the smaller penalty.
    for (const Case c : {Case{10, 3}, Case{0, 3}, Case{20, 4}, Case{30, 4}}) {
        SCOPED_TRACE(c.penalty);
        HallOfFame hall;
        hall.SetEntry(1, 1, "First     100    0");
        hall.SetEntry(1, 2, "Second    200    0");
        hall.SetEntry(1, 3, "Third     300   20");
        hall.SetEntry(1, 4, "Fourth    300    5");
        const std::vector<std::string> before = Table(hall, 1);

        EXPECT_EQ(hall.AddHall(1, "New", 300, c.penalty), c.expectedRank);
        const std::vector<std::string> after = Table(hall, 1);
        EXPECT_EQ(after[c.expectedRank - 1], MakeHallEntry("New", 300, c.penalty));
        for (int rank = 1; rank < c.expectedRank; ++rank)
            EXPECT_EQ(after[rank - 1], before[rank - 1]);
        for (int rank = c.expectedRank + 1; rank <= HallRanks; ++rank)
            EXPECT_EQ(after[rank - 1], before[rank - 2]);
    }
}

TEST(HallOfFame, StoredEntryUsesTheSameColumnsAsTheName) {
    HallOfFame hall;
    EXPECT_EQ(hall.AddHall(2, "", 250, 0), 2);
    EXPECT_EQ(hall.Entry(2, 2), "          250    0");
    EXPECT_EQ(hall.AddHall(2, "Magnificent", 241, 30), 2);
    EXPECT_EQ(hall.Entry(2, 2), "Magnific  241   30");
    // Values beyond the columns are stored, and compared, as they fit.
    EXPECT_EQ(hall.AddHall(2, "Odd", -4, 20000), 1);
    EXPECT_EQ(hall.Entry(2, 1), "Odd         0 9999");
    EXPECT_EQ(hall.AddHall(2, "Again", -1, 9999), 2) << "ties with the 0 it is stored as";
}

TEST(HallOfFame, ManyInsertionsKeepTheTableAscending) {
    HallOfFame hall;
    unsigned seed = 12345;
    int inserted = 0;
    for (int game = 0; game < 400; ++game) {
        seed = seed * 1103515245u + 12345u;
        const int total = 120 + static_cast<int>((seed >> 8) % 420);
        const int penalty = static_cast<int>((seed >> 20) % 4) * 30;
        const bool qualifies = hall.Qualifies(3, total);
        const int rank = hall.AddHall(3, "P" + std::to_string(game), total, penalty);
        EXPECT_EQ(rank != 0, qualifies) << total;
        inserted += rank != 0;
        for (int r = 1; r <= HallRanks; ++r) {
            ASSERT_TRUE(IsWellFormedHallEntry(hall.Entry(3, r)));
            if (r > 1) {
                ASSERT_LE(HallEntryTotal(hall.Entry(3, r - 1)), HallEntryTotal(hall.Entry(3, r)));
            }
        }
    }
    EXPECT_GT(inserted, 10);
    EXPECT_LT(hall.RankTenTotal(3), 200);
}

} // namespace

#include "BoardFixtures.h"
#include "LayoutTemplate.h"
#include "Tiles.h"

#include <array>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace mirelo {
namespace {

struct LayoutCase {
    int layout;
    std::array<int, 5> perLevel;
};

class LayoutData : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutData, HasItsAnchorsPerLevelInsideTheSafeArea) {
    const auto [layout, perLevel] = GetParam();
    const LayoutTemplate& t = Template(layout);
    std::array<int, 5> counted{};
    for (int z = 1; z <= GridLevels; ++z)
        for (int y = 1; y <= GridRows; ++y)
            for (int x = 1; x <= GridColumns; ++x) {
                if (!t.At(x, y, z))
                    continue;
                ++counted[z - 1];
                // The neighbour tests reach two columns and one row from an
                // anchor; these bounds keep them on the grid.
                EXPECT_GE(x, 3) << x << "," << y << "," << z;
                EXPECT_LE(x, 31) << x << "," << y << "," << z;
                EXPECT_GE(y, 3) << x << "," << y << "," << z;
                EXPECT_LE(y, 17) << x << "," << y << "," << z;
            }
    EXPECT_EQ(counted, perLevel);
    EXPECT_EQ(counted[0] + counted[1] + counted[2] + counted[3] + counted[4], 144);
}

TEST_P(LayoutData, NoTwoTilesOverlapOnOneLevel) {
    const LayoutTemplate& t = Template(GetParam().layout);
    for (int z = 1; z <= GridLevels; ++z)
        for (int y = 1; y <= GridRows; ++y)
            for (int x = 1; x <= GridColumns; ++x) {
                if (!t.At(x, y, z))
                    continue;
                // Another anchor within one column and one row would share a cell.
                for (int dy = 0; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        if ((dy == 0 && dx <= 0) || x + dx < 1 || x + dx > GridColumns ||
                            y + dy > GridRows)
                            continue;
                        EXPECT_FALSE(t.At(x + dx, y + dy, z))
                            << "layout " << GetParam().layout << " at " << x << "," << y << ","
                            << z;
                    }
            }
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, LayoutData,
                         ::testing::Values(LayoutCase{LayoutTraditional, {87, 36, 16, 4, 1}},
                                           LayoutCase{LayoutDragon, {60, 54, 25, 5, 0}},
                                           LayoutCase{LayoutBigHole, {44, 36, 36, 28, 0}},
                                           LayoutCase{LayoutTheater, {63, 41, 24, 12, 4}},
                                           LayoutCase{LayoutBeatle, {48, 41, 24, 21, 10}}));

TEST(LayoutData, SpotChecksFromTheRowLists) {
    EXPECT_TRUE(Template(LayoutTraditional).At(16, 10, 5));
    EXPECT_TRUE(Template(LayoutTraditional).At(3, 10, 1));
    EXPECT_TRUE(Template(LayoutTraditional).At(31, 10, 1));
    EXPECT_FALSE(Template(LayoutTraditional).At(5, 5, 1));
    EXPECT_TRUE(Template(LayoutDragon).At(30, 12, 1));
    EXPECT_TRUE(Template(LayoutDragon).At(18, 17, 2));
    EXPECT_FALSE(Template(LayoutDragon).At(17, 17, 2));
    EXPECT_TRUE(Template(LayoutBeatle).At(5, 4, 5)); // nothing beneath it
    EXPECT_FALSE(Template(LayoutBeatle).At(5, 4, 4));
    EXPECT_TRUE(Template(LayoutTheater).At(29, 16, 5));
    EXPECT_TRUE(Template(LayoutBigHole).At(21, 11, 4));
    EXPECT_FALSE(Template(LayoutBigHole).At(17, 9, 1)); // the hole
}

// Every anchor of every layout, level by level as the row lists give them:
// groups "rows: columns" split by ';', each of the rows holding an anchor in
// each of the columns.
struct RowList {
    int layout;
    int level;
    int anchors;
    const char* rows;
};

constexpr RowList RowLists[] = {
    {LayoutTraditional, 1, 87,
     "3: 5 7 9 11 13 15 17 19 21 23 25 27; 5: 9 11 13 15 17 19 21 23;"
     "7: 7 9 11 13 15 17 19 21 23 25; 9: 5 7 9 11 13 15 17 19 21 23 25 27; 10: 3 29 31;"
     "11: 5 7 9 11 13 15 17 19 21 23 25 27; 13: 7 9 11 13 15 17 19 21 23 25;"
     "15: 9 11 13 15 17 19 21 23; 17: 5 7 9 11 13 15 17 19 21 23 25 27"},
    {LayoutTraditional, 2, 36, "5 7 9 11 13 15: 11 13 15 17 19 21"},
    {LayoutTraditional, 3, 16, "7 9 11 13: 13 15 17 19"},
    {LayoutTraditional, 4, 4, "9 11: 15 17"},
    {LayoutTraditional, 5, 1, "10: 16"},
    {LayoutDragon, 1, 60,
     "3: 9 11; 4: 13 15 23; 5: 7 9 11 29; 6: 4 15 21 23 27 31; 8: 3 5 13 15 20 22 27 31;"
     "9: 7 25; 10: 4 9 12 14 19 21 23 31; 11: 17; 12: 9 11 13 15 19 21 23 30; 13: 6 17 25;"
     "14: 9 11 13 15 21; 15: 5 7 25 27; 16: 21; 17: 6 17 19 27 29"},
    {LayoutDragon, 2, 54,
     "3: 9 11; 4: 13 15; 5: 7 9 11 29; 6: 4 15 22 27 31; 8: 3 5 13 15 20 22 27 31; 9: 25;"
     "10: 4 9 12 14 19 21 23 31; 11: 17; 12: 9 11 13 15 19 21 23 30; 13: 6 17 25;"
     "14: 11 13 15 21; 15: 5 7 25 27; 16: 21; 17: 6 18 28"},
    {LayoutDragon, 3, 25,
     "3: 10; 4: 12 14; 5: 8 10; 6: 15; 7: 4 27 31; 8: 14 21; 9: 4 31; 10: 13 20 22;"
     "12: 12 14 17 20 22; 14: 6 12 14; 16: 6"},
    {LayoutDragon, 4, 5, "4: 10; 10: 21; 12: 13 21; 14: 13"},
    {LayoutBigHole, 1, 44, "5 7 13 15: 11 13 15 17 19 21 23 25; 9 11: 11 13 15 21 23 25"},
    {LayoutBigHole, 2, 36,
     "5 15: 11 13 15 17 19 21 23 25; 7 13: 13 15 17 19 21 23; 9 11: 13 15 21 23"},
    {LayoutBigHole, 3, 36,
     "5 15: 11 13 15 17 19 21 23 25; 7 13: 13 15 17 19 21 23; 9 11: 13 15 21 23"},
    {LayoutBigHole, 4, 28, "5 15: 11 13 15 17 19 21 23 25; 7 13: 15 17 19 21; 9 11: 15 21"},
    {LayoutTheater, 1, 63,
     "4 16: 5 7 9 11 13 21 23 25 27 29; 6 14: 5 7 9 11 15 17 19 23 25 27 29;"
     "8 12: 5 7 9 17 25 27 29; 10: 5 7 15 17 19 27 29"},
    {LayoutTheater, 2, 41,
     "4 16: 5 7 9 11 23 25 27 29; 6 14: 5 7 9 17 25 27 29; 8 12: 5 7 27 29; 10: 5 17 29"},
    {LayoutTheater, 3, 24, "4 16: 5 7 9 25 27 29; 6 14: 5 7 27 29; 8 12: 5 29"},
    {LayoutTheater, 4, 12, "4 16: 5 7 27 29; 6 14: 5 29"},
    {LayoutTheater, 5, 4, "4 16: 5 29"},
    {LayoutBeatle, 1, 48,
     "4 16: 9 11 25 27; 6 14: 13 15 17 19 21 23; 8 12: 9 11 13 15 17 19 21 23 25;"
     "10: 8 10 12 14 16 18 20 22 24 26"},
    {LayoutBeatle, 2, 41,
     "5 15: 12 24; 6 14: 14 16 18 20 22; 8 12: 8 10 12 14 16 18 20 22 24;"
     "10: 9 11 13 15 17 19 21 23 25"},
    {LayoutBeatle, 3, 24, "8 12: 7 11 13 15 17 19 21 23; 10: 9 11 13 15 17 19 21 23"},
    {LayoutBeatle, 4, 21, "7 13: 6; 8 12: 12 14 16 18 20 22; 10: 10 12 14 16 18 20 22"},
    {LayoutBeatle, 5, 10, "4 6 14 16: 5; 10: 11 13 15 17 19 21"},
};

std::vector<int> Numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<int> numbers;
    for (int n = 0; in >> n;)
        numbers.push_back(n);
    EXPECT_TRUE(in.eof()) << "not a number list: " << text;
    return numbers;
}

// The anchors one row list names, as (x, y) pairs.
std::set<std::pair<int, int>> Anchors(const char* rows) {
    std::set<std::pair<int, int>> anchors;
    std::istringstream groups(rows);
    for (std::string group; std::getline(groups, group, ';');) {
        const std::size_t colon = group.find(':');
        EXPECT_NE(colon, std::string::npos) << group;
        for (int y : Numbers(group.substr(0, colon)))
            for (int x : Numbers(group.substr(colon + 1)))
                EXPECT_TRUE(anchors.insert({x, y}).second) << "listed twice: " << x << "," << y;
    }
    return anchors;
}

TEST(LayoutData, EveryAnchorLiesWhereTheRowListsPutIt) {
    int pinned = 0;
    for (int layout = 1; layout <= LayoutCount; ++layout)
        for (int z = 1; z <= GridLevels; ++z) {
            std::set<std::pair<int, int>> expected;
            for (const RowList& list : RowLists)
                if (list.layout == layout && list.level == z) {
                    expected = Anchors(list.rows);
                    EXPECT_EQ(static_cast<int>(expected.size()), list.anchors)
                        << "layout " << layout << " level " << z;
                }
            pinned += static_cast<int>(expected.size());
            for (int y = 1; y <= GridRows; ++y)
                for (int x = 1; x <= GridColumns; ++x)
                    EXPECT_EQ(Template(layout).At(x, y, z) == 1, expected.count({x, y}) == 1)
                        << "layout " << layout << " at " << x << "," << y << "," << z;
        }
    EXPECT_EQ(pinned, 5 * 144);
}

TEST(TileTables, PicturesFollowTheTable) {
    const std::array<std::pair<int, int>, 16> cases{{{1, 1},
                                                     {4, 1},
                                                     {5, 2},
                                                     {36, 9},
                                                     {37, 10},
                                                     {72, 18},
                                                     {73, 19},
                                                     {108, 27},
                                                     {109, 28},
                                                     {112, 31},
                                                     {113, 32},
                                                     {116, 35},
                                                     {117, 36},
                                                     {128, 38},
                                                     {129, 39},
                                                     {144, 42}}};
    for (auto [tile, picture] : cases)
        EXPECT_EQ(TilePicture(tile), picture) << "tile " << tile;
    // Every picture is used: 4 tiles each, but one each for Flowers and Seasons.
    std::array<int, 43> uses{};
    for (int t = 1; t <= 144; ++t)
        ++uses[TilePicture(t)];
    for (int p = 1; p <= 42; ++p)
        EXPECT_EQ(uses[p], (p >= 28 && p <= 35) ? 1 : 4) << "picture " << p;
}

TEST(TileTables, FacesDecideMatching) {
    EXPECT_EQ(TileFace(109), TileFace(112)); // two Flowers
    EXPECT_NE(TileFace(112), TileFace(113)); // a Flower and a Season
    EXPECT_EQ(TileFace(113), TileFace(116)); // two Seasons
    EXPECT_EQ(TileFace(1), TileFace(4));
    EXPECT_NE(TileFace(4), TileFace(5));
    EXPECT_EQ(TileFace(144), 35);
}

TEST(BoardGrid, OutsideReadsEmptyAndIgnoresWrites) {
    BoardGrid grid;
    grid.Set(0, 5, 1, 7);
    grid.Set(35, 5, 1, 7);
    grid.Set(5, 21, 1, 7);
    grid.Set(5, 5, 6, 7);
    grid.Set(34, 20, 5, 9);
    EXPECT_EQ(grid.At(34, 20, 5), 9);
    EXPECT_EQ(grid.At(0, 5, 1), 0);
    EXPECT_EQ(grid.At(35, 5, 1), 0);
    EXPECT_EQ(grid.At(5, 21, 1), 0);
    EXPECT_EQ(grid.At(5, 5, 6), 0);
    EXPECT_EQ(grid.At(-100, 5, 1), 0);
    // The border that the free rule reads unchecked stayed empty.
    EXPECT_EQ(grid.Near(36, 21, 6), 0);
    EXPECT_EQ(grid.Near(-1, 0, 0), 0);
}

} // namespace
} // namespace mirelo

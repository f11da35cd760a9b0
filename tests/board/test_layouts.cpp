#include "BoardFixtures.h"
#include "LayoutTemplate.h"
#include "Tiles.h"

#include <gtest/gtest.h>

#include <array>

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
                            << "layout " << GetParam().layout << " at " << x << "," << y << "," << z;
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

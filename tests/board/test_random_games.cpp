#include "BoardFixtures.h"
#include "LayoutTemplate.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace mirelo {
namespace {

// Every removed tile's old place plus the occupied cells make up the layout:
// nothing is lost or duplicated by picks, Back, Restart or Shuffle.
std::string CheckCellsAccountedFor(const Game& game, int layout) {
    std::vector<int> cells = test::OccupiedCells(game);
    for (int i = 0; i < 144 - game.State.TilesLeft; ++i) {
        const MoveEntry& e = game.History[i];
        cells.push_back((e.Z * 100 + e.Y) * 100 + e.X);
    }
    std::sort(cells.begin(), cells.end());
    return cells == test::LayoutSlots(layout) ? "" : "cells lost or duplicated";
}

// Plays many seeded games with a random mix of every command and checks the
// board's invariants after every step.
TEST(RandomGames, InvariantsHoldAfterEveryCommand) {
    RandomGenerator dice(20261207);
    NullBoardView view;
    int removals = 0, shuffles = 0, restarts = 0, backs = 0, wins = 0;
    for (int gameNo = 0; gameNo < 2000; ++gameNo) {
        Game game;
        const int layout = gameNo % 5 + 1;
        std::uint32_t now = dice.Next();
        game.BeginGame(layout, dice.Next(), now);
        for (int step = 0; step < 150; ++step) {
            now += dice.Random(5000);
            const std::uint32_t roll = dice.Random(100);
            const int tilesBefore = game.State.TilesLeft;
            if (roll < 60) {
                // Mostly free tiles, sometimes any tile on the board.
                game.IsItFree();
                std::uint8_t tile = 0;
                if (roll < 50 && game.State.FreeCount > 0)
                    tile = game.State.FreeList[dice.Random(game.State.FreeCount)];
                else
                    tile = static_cast<std::uint8_t>(dice.Random(145));
                if (!game.Places[tile].OnBoard())
                    tile = 0;
                game.Pick(tile, view);
                removals += game.State.TilesLeft < tilesBefore;
            } else if (roll < 66) {
                std::uint8_t a = 0, b = 0;
                if (game.State.FirstPick != 0)
                    game.Pick(game.State.FirstPick, view); // drop it
                if (test::FindMatchingFreePair(game, a, b)) {
                    game.Pick(a, view);
                    game.Pick(b, view);
                    ASSERT_EQ(game.State.TilesLeft, tilesBefore - 2);
                }
            } else if (roll < 74) {
                backs += game.Back(view);
            } else if (roll < 77) {
                restarts += game.Restart(now, view);
            } else if (roll < 82) {
                shuffles += game.Shuffle().Performed;
            } else if (roll < 88) {
                game.IsItFree();
                if (game.Hint()) {
                    ASSERT_TRUE(game.IsFree(game.State.HintFirst));
                    ASSERT_TRUE(game.IsFree(game.State.HintSecond));
                }
            } else if (roll < 92) {
                game.DropPicks(view);
            } else if (roll < 95) {
                game.PauseClick(now);
            } else {
                game.UpdateClock(now);
            }
            ASSERT_EQ(test::CheckInvariants(game), "") << "game " << gameNo << " step " << step;
            ASSERT_EQ(CheckCellsAccountedFor(game, layout), "") << "game " << gameNo;
            game.IsItFree();
            const auto brute = test::CountByBruteForce(game);
            ASSERT_EQ(game.State.FreeCount, brute.Free);
            ASSERT_EQ(game.State.MovesLeft, brute.Moves);
            if (game.State.TilesLeft == 0) {
                ++wins;
                break;
            }
        }
    }
    // The mix really exercised every command.
    EXPECT_GT(removals, 1000);
    EXPECT_GT(shuffles, 1000);
    EXPECT_GT(restarts, 100);
    EXPECT_GT(backs, 1000);
    RecordProperty("wins", wins);
}

} // namespace
} // namespace mirelo

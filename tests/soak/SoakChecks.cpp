// The checks run after every step, and the deal and shuffle checks.
#include "LayoutTemplate.h"
#include "SoakRequire.h"
#include "SoakRun.h"

#include <cstdarg>
#include <cstdio>

namespace mirelo::soak {
namespace {

// Anchors per level 1..5 of each layout, from the rules' description of the
// shapes rather than from the templates under test.
constexpr int LevelCounts[6][5] = {{},
                                   {87, 36, 16, 4, 1},
                                   {60, 54, 25, 5, 0},
                                   {44, 36, 36, 28, 0},
                                   {63, 41, 24, 12, 4},
                                   {48, 41, 24, 21, 10}};

bool Matches(const TilePlace& p, const Anchor& a) {
    return p.X == a.X && p.Y == a.Y && p.Z == a.Z;
}

} // namespace

bool SoakRun::Fail(const char* format, ...) {
    char what[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(what, sizeof what, format, args);
    va_end(args);
    char where[160];
    std::snprintf(where, sizeof where, "seed %u, step %d (%s", seed_, step_, CommandName(current_));
    failure_ = where;
    if (argument_)
        failure_ += " " + std::to_string(argument_);
    failure_ += "): ";
    failure_ += what;
    failure_ += "\n  replay with MIRELO_SOAK_SEED=" + std::to_string(seed_);
    return false;
}

bool SoakRun::ExpectCalls(int count) {
    if (view_.Count() == count)
        return true;
    std::string calls;
    for (int i = 0; i < view_.Count() && i < 8; ++i)
        calls +=
            std::string(" ") + CallName(view_[i].Kind) + "(" + std::to_string(view_[i].Tile) + ")";
    return Fail("%d calls to the window, wanted %d:%s", view_.Count(), count, calls.c_str());
}

void SoakRun::TakeCounts() {
    const Footprints& f = shadow_.Look();
    exp_.FreeCount = f.FreeCount;
    exp_.MovesLeft = f.Moves;
    exp_.FreeList = f.FreeTiles;
}

bool SoakRun::CheckDeal(int layout) {
    shadow_.Clear();
    int perLevel[6] = {};
    const LayoutTemplate& shape = Template(layout);
    for (int t = 1; t <= TileCount; ++t) {
        const TilePlace& p = game_.Places[t];
        // Every anchor of every layout lies in columns 3..31 and rows 3..17.
        SOAK_REQUIRE(p.X >= 3 && p.X <= 31 && p.Y >= 3 && p.Y <= 17 && p.Z >= 1 && p.Z <= 5,
                     "tile %d dealt at (%d, %d, %d)", t, p.X, p.Y, p.Z);
        SOAK_REQUIRE(shape.At(p.X, p.Y, p.Z) == 1,
                     "tile %d dealt at (%d, %d, %d), no slot of layout %d", t, p.X, p.Y, p.Z,
                     layout);
        SOAK_REQUIRE(shadow_.Put(t, {p.X, p.Y, p.Z}), "two tiles dealt at (%d, %d, %d)", p.X, p.Y,
                     p.Z);
        ++perLevel[p.Z];
    }
    for (int z = 1; z <= 5; ++z)
        SOAK_REQUIRE(perLevel[z] == LevelCounts[layout][z - 1],
                     "layout %d dealt %d tiles on level %d, not %d", layout, perLevel[z], z,
                     LevelCounts[layout][z - 1]);
    SOAK_REQUIRE(!shadow_.Look().Overlap, "tiles of layout %d overlap on one level", layout);
    return true;
}

bool SoakRun::AdoptShuffle() {
    // The tiles may only trade the cells they held among themselves.
    std::array<bool, 6 * 21 * 35> claimed{};
    for (int t = 1; t <= TileCount; ++t) {
        const bool was = shadow_.Place(t).On();
        const TilePlace& p = game_.Places[t];
        SOAK_REQUIRE(was == p.OnBoard(), "the shuffle %s tile %d",
                     was ? "took away" : "brought back", t);
        if (!was)
            continue;
        SOAK_REQUIRE(shadow_.CellAt(p.X, p.Y, p.Z) != 0,
                     "the shuffle moved tile %d to (%d, %d, %d), a cell no tile held", t, p.X, p.Y,
                     p.Z);
        bool& taken = claimed[(p.Z * 21 + p.Y) * 35 + p.X];
        SOAK_REQUIRE(!taken, "the shuffle put two tiles at (%d, %d, %d)", p.X, p.Y, p.Z);
        taken = true;
    }
    shadow_.Clear();
    for (int t = 1; t <= TileCount; ++t) {
        const TilePlace& p = game_.Places[t];
        if (p.OnBoard())
            shadow_.Put(t, {p.X, p.Y, p.Z});
    }
    return true;
}

bool SoakRun::CheckGrid() {
    if (fullScan_) {
        for (int z = 1; z <= GridLevels; ++z)
            for (int y = 1; y <= GridRows; ++y)
                for (int x = 1; x <= GridColumns; ++x) {
                    const int held = game_.Grid.At(x, y, z);
                    SOAK_REQUIRE(held == shadow_.CellAt(x, y, z),
                                 "the grid holds %d at (%d, %d, %d), should hold %d", held, x, y, z,
                                 shadow_.CellAt(x, y, z));
                }
        checkedGrid_ = game_.Grid;
        return true;
    }
    for (int i = 0; i < patchCount_; ++i) {
        const auto [x, y, z, value] = patches_[i];
        SOAK_REQUIRE(game_.Grid.At(x, y, z) == value,
                     "the grid holds %d at (%d, %d, %d), should hold %d", game_.Grid.At(x, y, z), x,
                     y, z, value);
        checkedGrid_.Set(x, y, z, static_cast<std::uint8_t>(value));
    }
    SOAK_REQUIRE(game_.Grid == checkedGrid_, "the grid changed beyond the cells the step touched");
    return true;
}

// The places and the history: in full after a step that moved tiles and every
// 64th step; after any other step the places must be as the last check left them.
bool SoakRun::CheckBoard() {
    const GameState& s = game_.State;
    SOAK_REQUIRE(s.TilesLeft == shadow_.TilesOn() && s.TilesLeft % 2 == 0,
                 "TilesLeft %d with %d tiles on the board", s.TilesLeft, shadow_.TilesOn());
    const int removed = TileCount - s.TilesLeft;
    SOAK_REQUIRE(removed == removed_, "%d tiles off the board, %d removed", removed, removed_);
    if (!fullScan_ && patchCount_ == 0) {
        SOAK_REQUIRE(game_.Places == checkedPlaces_, "TilePlaces changed");
        return true; // the history follows in full at the next step that moves tiles
    }
    for (int t = 1; t <= TileCount; ++t) {
        const TilePlace& p = game_.Places[t];
        const Anchor a = shadow_.Place(t);
        SOAK_REQUIRE(Matches(p, a), "tile %d is at (%d, %d, %d), should be at (%d, %d, %d)", t, p.X,
                     p.Y, p.Z, a.X, a.Y, a.Z);
    }
    // The history: the tiles off the board, in matching pairs, each tile once
    // either there or on the board.
    std::array<bool, 145> seen{};
    for (int i = 0; i < removed; ++i) {
        const MoveEntry& e = game_.History[i];
        const Anchor& a = historyPlace_[i];
        SOAK_REQUIRE(e.Tile == historyTile_[i] && e.X == a.X && e.Y == a.Y && e.Z == a.Z,
                     "history entry %d is %d at (%d, %d, %d), should be %d at (%d, %d, %d)", i,
                     e.Tile, e.X, e.Y, e.Z, historyTile_[i], a.X, a.Y, a.Z);
        SOAK_REQUIRE(i % 2 == 0 || FaceOf(game_.History[i - 1].Tile) == FaceOf(e.Tile),
                     "history pair %d-%d does not match", game_.History[i - 1].Tile, e.Tile);
        SOAK_REQUIRE(!seen[e.Tile] && !game_.Places[e.Tile].OnBoard(),
                     "tile %d removed twice or still on the board", e.Tile);
        seen[e.Tile] = true;
    }
    for (int t = 1; t <= TileCount; ++t)
        SOAK_REQUIRE(seen[t] != game_.Places[t].OnBoard(),
                     "tile %d is neither on the board nor in the history", t);
    checkedPlaces_ = game_.Places;
    return true;
}

bool SoakRun::CheckAll() {
    const GameState& s = game_.State;
    if (!CheckGrid() || !CheckBoard())
        return false;

    // Picks and hint.
    SOAK_REQUIRE(s.SecondPick == 0, "SecondPick %d between clicks", s.SecondPick);
    SOAK_REQUIRE(s.FirstPick == exp_.FirstPick, "FirstPick %d, should be %d", s.FirstPick,
                 exp_.FirstPick);
    SOAK_REQUIRE(s.FirstPick == 0 || shadow_.Look().Free[s.FirstPick],
                 "FirstPick %d is not a free tile on the board", s.FirstPick);
    SOAK_REQUIRE(s.HintFirst == exp_.HintFirst && s.HintSecond == exp_.HintSecond &&
                     s.HintIndex == exp_.HintIndex,
                 "hint %d-%d #%d, should be %d-%d #%d", s.HintFirst, s.HintSecond, s.HintIndex,
                 exp_.HintFirst, exp_.HintSecond, exp_.HintIndex);

    // The counts as last computed, against the footprints of that moment.
    SOAK_REQUIRE(s.FreeCount == exp_.FreeCount && s.MovesLeft == exp_.MovesLeft,
                 "%d free tiles and %d moves, should be %d and %d", s.FreeCount, s.MovesLeft,
                 exp_.FreeCount, exp_.MovesLeft);
    for (int i = 0; i < s.FreeCount; ++i)
        SOAK_REQUIRE(s.FreeList[i] == exp_.FreeList[i], "FreeList[%d] is %d, should be %d", i,
                     s.FreeList[i], exp_.FreeList[i]);

    // State and clock.
    // The model keeps the four facts apart; the game must be in the one phase they add up to.
    const GamePhase phase = exp_.Paused     ? GamePhase::Paused
                            : exp_.GameWon  ? GamePhase::Won
                            : exp_.GameOver ? GamePhase::Stopped
                                            : GamePhase::Running;
    SOAK_REQUIRE(s.Phase == phase && exp_.GameWon == exp_.WinAnnounced &&
                     (!exp_.GameWon || exp_.GameOver) && (!exp_.Paused || !exp_.GameOver),
                 "the game is %s, should be %s (over %d won %d announced %d paused %d)",
                 PhaseName(s.Phase), PhaseName(phase), exp_.GameOver, exp_.GameWon,
                 exp_.WinAnnounced, exp_.Paused);
    SOAK_REQUIRE(s.ElapsedSeconds == exp_.ElapsedSeconds && s.PenaltySeconds == exp_.PenaltySeconds,
                 "time %d + %d s, should be %d + %d s", s.ElapsedSeconds, s.PenaltySeconds,
                 exp_.ElapsedSeconds, exp_.PenaltySeconds);
    SOAK_REQUIRE(!s.Paused() || s.PausedTicks == exp_.PausedTicks,
                 "paused at %d ms of play, should be %d", s.PausedTicks, exp_.PausedTicks);
    return true;
}

} // namespace mirelo::soak

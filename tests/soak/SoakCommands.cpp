// Each command as the window would issue it, and what the rules must have done.
#include "SoakRequire.h"
#include "SoakRun.h"

namespace mirelo::soak {

bool SoakRun::DoTick() {
    const GameState& s = game_.State;
    const bool running = !exp_.GameOver && !exp_.GameWon;
    const std::int32_t before = s.ElapsedSeconds;
    const TickOutcome turn = game_.Tick(Now());
    if (!ExpectCalls(0) || !CheckQuietSpan(turn))
        return false;
    SOAK_REQUIRE(turn.Counted == running, "the turn %s though %s",
                 turn.Counted ? "counted" : "did not count",
                 running ? "a game runs" : "no game runs");

    if (!running) {
        SOAK_REQUIRE(s.ElapsedSeconds == before,
                     "the clock moved from %d to %d s with no game running", before,
                     s.ElapsedSeconds);
        SOAK_REQUIRE(turn.NextChangeIn == NoChangeDue && !turn.Won && !turn.TimeUp,
                     "a turn with no game running asked for a wake-up in %u ms", turn.NextChangeIn);
        return true;
    }
    exp_.ElapsedSeconds = static_cast<std::int32_t>((exp_.PlayMs + exp_.PauseMs) / 1000);
    if (!exp_.Paused) {
        SOAK_REQUIRE(s.ElapsedSeconds >= exp_.LastRunningElapsed,
                     "the clock went back from %d to %d s", exp_.LastRunningElapsed,
                     s.ElapsedSeconds);
        exp_.LastRunningElapsed = s.ElapsedSeconds;
    }
    TakeCounts();
    // The win is noticed before the counts are shown, the limit after them.
    const bool won = shadow_.TilesOn() == 0 && !exp_.WinAnnounced;
    if (won) {
        ++stats_.Wins;
        stats_.WinsWhilePaused += exp_.Paused;
        exp_.GameWon = exp_.WinAnnounced = exp_.GameOver = true;
        exp_.Paused = false;
    }
    const int seconds = exp_.Paused ? -1 : exp_.ElapsedSeconds + exp_.PenaltySeconds;
    SOAK_REQUIRE(turn.Won == won && turn.TilesLeft == shadow_.TilesOn() &&
                     turn.MovesLeft == exp_.MovesLeft && turn.Seconds == seconds,
                 "the turn showed %d tiles, %d moves, %d s%s; should be %d, %d, %d s%s",
                 turn.TilesLeft, turn.MovesLeft, turn.Seconds, turn.Won ? ", won" : "",
                 shadow_.TilesOn(), exp_.MovesLeft, seconds, won ? ", won" : "");
    const bool noMoves = !won && exp_.MovesLeft == 0;
    SOAK_REQUIRE(
        turn.NoMoves == noMoves && (!noMoves || turn.WarningShown == NoMovesWarningShown(Now())),
        "the no-moves warning: %d shown %d at tick %u", turn.NoMoves, turn.WarningShown, Now());
    const bool timeUp =
        !exp_.GameOver && exp_.ElapsedSeconds + exp_.PenaltySeconds >= TimeLimitSeconds;
    if (timeUp) {
        ++stats_.TimeUps;
        stats_.TimeUpsWhilePaused += exp_.Paused;
        exp_.GameOver = true;
        exp_.Paused = false;
    }
    SOAK_REQUIRE(turn.TimeUp == timeUp, "the turn %s the time limit",
                 turn.TimeUp ? "wrongly reported" : "missed");
    // A running clock changes the panel within the second; an ended game never wakes.
    SOAK_REQUIRE(exp_.GameOver
                     ? turn.NextChangeIn == NoChangeDue
                     : exp_.Paused || (turn.NextChangeIn >= 1 && turn.NextChangeIn <= 1000),
                 "the next change is due in %u ms", turn.NextChangeIn);
    lastTurn_ = turn;
    lastTurnAt_ = Now();
    commandSinceTurn_ = false;
    return true;
}

// Until the tick the last turn named, with no command between, a turn must
// show exactly what the last one showed: a heartbeat that sleeps until then
// misses nothing.
bool SoakRun::CheckQuietSpan(const TickOutcome& turn) {
    if (commandSinceTurn_ || !lastTurn_.Counted || Now() - lastTurnAt_ >= lastTurn_.NextChangeIn)
        return true;
    // After the end, turns show nothing at all.
    if (lastTurn_.NextChangeIn == NoChangeDue) {
        SOAK_REQUIRE(!turn.Counted, "a turn counted after the game ended");
        return true;
    }
    SOAK_REQUIRE(turn.Counted && !turn.Won && !turn.TimeUp &&
                     turn.TilesLeft == lastTurn_.TilesLeft &&
                     turn.MovesLeft == lastTurn_.MovesLeft && turn.Seconds == lastTurn_.Seconds &&
                     turn.NoMoves == lastTurn_.NoMoves &&
                     (!turn.NoMoves || turn.WarningShown == lastTurn_.WarningShown),
                 "%u ms after a turn that promised no change for %u ms, the panels show %d tiles, "
                 "%d moves, %d s, warning %d; they showed %d, %d, %d s, warning %d",
                 Now() - lastTurnAt_, lastTurn_.NextChangeIn, turn.TilesLeft, turn.MovesLeft,
                 turn.Seconds, turn.WarningShown, lastTurn_.TilesLeft, lastTurn_.MovesLeft,
                 lastTurn_.Seconds, lastTurn_.WarningShown);
    return true;
}

bool SoakRun::DoClick(std::uint8_t tile) {
    if (!game_.State.Running()) {
        ++stats_.Ignored; // the window drops the click
        return true;
    }
    const Footprints& f = shadow_.Look();
    const bool free = tile >= 1 && tile <= TileCount && f.Free[tile];
    const int first = exp_.FirstPick;
    const int tilesBefore = shadow_.TilesOn();
    const bool removes = free && first != 0 && tile != first && FaceOf(tile) == FaceOf(first);
    if (removes) {
        Snapshot& before = (*removals_)[removed_ / 2];
        before.Grid = game_.Grid;
        before.Places = game_.Places;
        before.Generation = generation_;
    }
    game_.Pick(tile, view_);
    if (tile == 0)
        return ExpectCalls(0);

    if (!free) {
        ++stats_.Refused;
        if (!ExpectCalls(1))
            return false;
        const CallRecord& c = view_[0];
        SOAK_REQUIRE(c.Kind == Call::SonBip && c.FirstPick == first && c.SecondPick == 0,
                     "tile %d is not free but was not refused with pick %d kept", tile, first);
        return true;
    }
    if (first == 0 || tile == first) {
        // A selection, or the selected tile clicked again to let it go.
        const int selected = first == 0 ? tile : 0;
        ++(first == 0 ? stats_.Selected : stats_.Unselected);
        if (!ExpectCalls(1))
            return false;
        const CallRecord& c = view_[0];
        SOAK_REQUIRE(c.Kind == Call::SonOK && c.Tile == tile && c.PlaceKnown &&
                         c.FirstPick == selected && c.SecondPick == 0,
                     "SonOK(%d) came with picks %d/%d; wanted %d/0", c.Tile, c.FirstPick,
                     c.SecondPick, selected);
        exp_.FirstPick = static_cast<std::uint8_t>(selected);
        return true;
    }
    if (!ExpectCalls(removes ? 4 : 2))
        return false;
    const CallRecord& ok = view_[0];
    SOAK_REQUIRE(ok.Kind == Call::SonOK && ok.Tile == tile && ok.FirstPick == first &&
                     ok.SecondPick == tile,
                 "second pick %d: first call %s(%d) with picks %d/%d", tile, CallName(ok.Kind),
                 ok.Tile, ok.FirstPick, ok.SecondPick);
    if (!removes) {
        ++stats_.LetGo;
        const CallRecord& c = view_[1];
        SOAK_REQUIRE(c.Kind == Call::RedrawTile && c.Tile == first && c.PlaceKnown &&
                         c.CellAtPlace == first && c.FirstPick == tile && c.SecondPick == 0,
                     "letting go of %d for %d: %s(%d) with picks %d/%d", first, tile,
                     CallName(c.Kind), c.Tile, c.FirstPick, c.SecondPick);
        exp_.FirstPick = tile;
        return true;
    }

    for (int k = 1; k <= 2; ++k) {
        const CallRecord& c = view_[k];
        const int gone = k == 1 ? first : tile;
        // The box is found through the place, so the place must still be
        // known while the grid no longer shows the tile.
        SOAK_REQUIRE(c.Kind == Call::RedrawTile && c.Tile == gone && c.PlaceKnown &&
                         c.CellAtPlace == 0 && c.TilesLeft == tilesBefore && c.FirstPick == 0 &&
                         c.SecondPick == 0,
                     "removing %d-%d, call %d: %s(%d) place %s, cell %d, tiles %d, picks %d/%d",
                     first, tile, k, CallName(c.Kind), c.Tile, c.PlaceKnown ? "known" : "cleared",
                     c.CellAtPlace, c.TilesLeft, c.FirstPick, c.SecondPick);
    }
    const CallRecord& sound = view_[3];
    SOAK_REQUIRE(sound.Kind == Call::PairRemoved && sound.TilesLeft == tilesBefore - 2,
                 "removing %d-%d ended with %s, tiles %d", first, tile, CallName(sound.Kind),
                 sound.TilesLeft);
    ++stats_.Removed;
    for (const int t : {first, static_cast<int>(tile)}) {
        historyTile_[removed_] = static_cast<std::uint8_t>(t);
        historyPlace_[removed_++] = shadow_.Place(t);
        Patch(shadow_.Place(t), 0);
        shadow_.Take(t);
    }
    exp_.FirstPick = 0;
    return true;
}

bool SoakRun::DoDropPicks() {
    if (!game_.State.Running()) {
        ++stats_.Ignored;
        return true;
    }
    game_.DropPicks(view_);
    if (!ExpectCalls(1))
        return false;
    const CallRecord& c = view_[0];
    SOAK_REQUIRE(c.Kind == Call::FullRedraw && !c.FirstPick && !c.SecondPick && !c.HintFirst &&
                     !c.HintSecond,
                 "right click: %s with picks %d/%d and hint %d-%d", CallName(c.Kind), c.FirstPick,
                 c.SecondPick, c.HintFirst, c.HintSecond);
    exp_.FirstPick = exp_.HintFirst = exp_.HintSecond = 0;
    return true;
}

bool SoakRun::DoHint() {
    // The move count it looks at first is the last one computed, maybe stale.
    const bool considered = !exp_.GameOver && !exp_.GameWon && !exp_.Paused && exp_.MovesLeft != 0;
    const bool shown = game_.Hint();
    if (!ExpectCalls(0))
        return false;
    if (!considered) {
        ++stats_.HintsRefused;
        SOAK_REQUIRE(!shown, "Hint acted although the state forbids it");
        return true;
    }
    exp_.HintFirst = exp_.HintSecond = 0;
    TakeCounts();
    const Footprints& f = shadow_.Look();
    if (f.Moves == 0) {
        ++stats_.HintsRefused;
        SOAK_REQUIRE(!shown, "Hint showed a move on a board with none");
        return true;
    }
    SOAK_REQUIRE(shown, "Hint showed nothing though %d moves exist", f.Moves);
    ++stats_.HintsShown;
    exp_.HintIndex = static_cast<std::uint8_t>(exp_.HintIndex % f.Moves + 1);
    exp_.HintFirst = f.Pairs[exp_.HintIndex - 1][0];
    exp_.HintSecond = f.Pairs[exp_.HintIndex - 1][1];
    exp_.PenaltySeconds += HintPenaltySeconds;
    return true;
}

bool SoakRun::DoBack() {
    const int tilesBefore = shadow_.TilesOn();
    const bool allowed = !exp_.Paused && tilesBefore != 0 && tilesBefore != TileCount;
    const bool done = game_.Back(view_);
    SOAK_REQUIRE(done == allowed, "Back %s with %d tiles%s", done ? "acted" : "refused",
                 tilesBefore, exp_.Paused ? ", paused" : "");
    if (!allowed) {
        ++stats_.BacksRefused;
        return ExpectCalls(0);
    }
    ++stats_.BacksDone;
    stats_.BacksAfterStop += exp_.GameOver;
    removed_ -= 2;
    backedTile_ = historyTile_[removed_];
    for (int i = removed_; i < removed_ + 2; ++i) {
        SOAK_REQUIRE(shadow_.Put(historyTile_[i], historyPlace_[i]),
                     "the model cannot put tile %d back", historyTile_[i]);
        Patch(historyPlace_[i], historyTile_[i]);
    }
    exp_.FirstPick = exp_.HintFirst = exp_.HintSecond = 0;
    if (!ExpectCalls(1))
        return false;
    const CallRecord& c = view_[0];
    SOAK_REQUIRE(c.Kind == Call::FullRedraw && c.TilesLeft == tilesBefore + 2 && !c.FirstPick &&
                     !c.HintFirst && !c.HintSecond,
                 "Back redrew with %d tiles, pick %d, hint %d-%d", c.TilesLeft, c.FirstPick,
                 c.HintFirst, c.HintSecond);
    const Snapshot& before = (*removals_)[removed_ / 2];
    if (before.Generation == generation_)
        SOAK_REQUIRE(game_.Grid == before.Grid && game_.Places == before.Places,
                     "Back did not restore the board as it was before %d-%d went",
                     historyTile_[removed_], historyTile_[removed_ + 1]);
    return true;
}

bool SoakRun::DoRestart() {
    const int tilesBefore = shadow_.TilesOn();
    const bool allowed = tilesBefore != 0 && tilesBefore != TileCount && !exp_.Paused &&
                         !exp_.GameOver && !exp_.GameWon;
    const bool done = game_.Restart(Now(), view_);
    SOAK_REQUIRE(done == allowed, "Restart %s with %d tiles", done ? "acted" : "refused",
                 tilesBefore);
    if (!allowed) {
        ++stats_.RestartsRefused;
        return ExpectCalls(0);
    }
    ++stats_.RestartsDone;
    if (!ExpectCalls(removed_ / 2))
        return false;
    for (int i = 0; i < removed_ / 2; ++i) {
        const CallRecord& c = view_[i];
        SOAK_REQUIRE(c.Kind == Call::FullRedraw && c.TilesLeft == tilesBefore + 2 * (i + 1) &&
                         !c.FirstPick && !c.HintFirst,
                     "Restart's redraw %d came with %d tiles", i + 1, c.TilesLeft);
    }
    while (removed_ > 0) {
        --removed_;
        SOAK_REQUIRE(shadow_.Put(historyTile_[removed_], historyPlace_[removed_]),
                     "the model cannot put tile %d back", historyTile_[removed_]);
    }
    exp_.FirstPick = exp_.HintFirst = exp_.HintSecond = 0;
    exp_.ElapsedSeconds = exp_.PenaltySeconds = exp_.PausedTicks = exp_.LastRunningElapsed = 0;
    exp_.PlayMs = exp_.PauseMs = 0;
    fullScan_ = true;
    if (dealGeneration_ != generation_) {
        ++stats_.RestartsAfterShuffle; // shuffled tiles keep their new places
        return true;
    }
    SOAK_REQUIRE(game_.Grid == dealt_->Grid && game_.Places == dealt_->Places,
                 "Restart did not bring back the board as dealt");
    return true;
}

bool SoakRun::DoShuffle() {
    const bool allowed = !exp_.GameWon && !exp_.GameOver && !exp_.Paused;
    const ShuffleOutcome out = game_.Shuffle();
    if (!ExpectCalls(0))
        return false;
    SOAK_REQUIRE(out.Performed == allowed, "Shuffle %s", out.Performed ? "acted" : "refused");
    if (!allowed) {
        ++stats_.ShufflesRefused;
        return true;
    }
    if (!AdoptShuffle())
        return false;
    const Footprints& f = shadow_.Look();
    SOAK_REQUIRE(out.Passes >= 1 && out.Passes <= MaxShufflePasses, "Shuffle made %d passes",
                 out.Passes);
    SOAK_REQUIRE(out.MovesLeft == f.Moves, "Shuffle reported %d moves; the board has %d",
                 out.MovesLeft, f.Moves);
    // It stops at the first pass that leaves a move, and only the limit stops it earlier.
    SOAK_REQUIRE(f.Moves > 0 || out.Passes == MaxShufflePasses,
                 "Shuffle gave up after %d passes with no move", out.Passes);
    ++stats_.Shuffles;
    stats_.ShufflePasses += out.Passes;
    stats_.ShufflesBlocked += f.Moves == 0;
    if (f.Moves == 0 && shadow_.TilesOn() > shuffleBlockedAt_)
        shuffleBlockedAt_ = shadow_.TilesOn();
    TakeCounts();
    exp_.FirstPick = exp_.HintFirst = exp_.HintSecond = 0;
    exp_.PenaltySeconds += ShufflePenaltyPerMove * f.Moves;
    ++generation_;
    fullScan_ = true;
    return true;
}

bool SoakRun::DoPause() {
    const bool allowed = !exp_.GameOver && !exp_.GameWon;
    const bool acted = game_.PauseClick(Now());
    SOAK_REQUIRE(acted == allowed, "Pause %s", acted ? "acted with no game running" : "refused");
    if (!allowed) {
        ++stats_.PausesRefused;
        return ExpectCalls(0);
    }
    if (exp_.Paused) {
        ++stats_.Resumes;
        exp_.PauseMs = 0; // the paused time drops out
    } else {
        ++stats_.Pauses;
        exp_.PausedTicks = static_cast<std::int32_t>(exp_.PlayMs);
    }
    exp_.Paused = !exp_.Paused;
    return ExpectCalls(0);
}

bool SoakRun::DoStop() {
    if (exp_.GameOver) {
        ++stats_.Ignored; // Stop is greyed out while no game runs
        return true;
    }
    const bool endedPause = game_.StopGame(Now());
    SOAK_REQUIRE(endedPause == exp_.Paused, "StopGame said %d about ending a pause", endedPause);
    ++stats_.Stops;
    stats_.StopsEndingPause += endedPause;
    exp_.GameOver = true;
    exp_.Paused = false;
    return ExpectCalls(0);
}

bool SoakRun::DoNew(int layout) {
    const std::uint32_t dealSeed = Roll(0xFFFFFFFFu);
    game_.BeginGame(layout, dealSeed, Now());
    ++deals_;
    ++stats_.Deals;
    if (!ExpectCalls(0) || !CheckDeal(layout))
        return false;
    const Expected last = exp_;
    exp_ = Expected{};
    exp_.GameOver = false;
    // Nothing recounts at a deal: the last counts stand until the next tick.
    exp_.FreeCount = last.FreeCount;
    exp_.MovesLeft = last.MovesLeft;
    exp_.FreeList = last.FreeList;
    removed_ = 0;
    shuffleBlockedAt_ = deadEndTiles_ = deadEndVisits_ = 0;
    backedTile_ = 1;
    dealGeneration_ = ++generation_;
    dealt_->Grid = game_.Grid;
    dealt_->Places = game_.Places;
    fullScan_ = true;
    if ((seed_ + deals_) % 64 == 0) {
        // The same seed deals the same board on a fresh game.
        ++stats_.DealsReplayed;
        auto twin = std::make_unique<Game>();
        twin->BeginGame(layout, dealSeed, Now() + 12345);
        SOAK_REQUIRE(twin->Grid == game_.Grid && twin->Places == game_.Places,
                     "deal seed %u dealt two different boards", dealSeed);
    }
    return true;
}

} // namespace mirelo::soak

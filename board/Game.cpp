#include "Game.h"

#include "LayoutTemplate.h"

#include <algorithm>

namespace mirelo {
namespace {

std::uint32_t TicksSince(std::uint32_t now, std::int32_t start) {
    // Unsigned 32-bit difference: right for any tick value, across the wrap,
    // for every span shorter than the 49.7 days the count takes to come round.
    // A signed one turns negative after 24.8 days.
    return now - static_cast<std::uint32_t>(start);
}

} // namespace

void Game::BeginGame(int layout, std::uint32_t seed, std::uint32_t now) {
    Rng.Seed(seed);
    Deal(layout);
    State.HintIndex = 0;
    State.HintFirst = 0;
    State.HintSecond = 0;
    State.FirstPick = 0;
    State.SecondPick = 0;
    State.ElapsedSeconds = 0;
    State.PenaltySeconds = 0;
    State.PausedTicks = 0;
    State.StartTick = static_cast<std::int32_t>(now);
    State.Phase = GamePhase::Running;
}

void Game::Deal(int layout) {
    const LayoutTemplate& shape = Template(layout);
    // Every cell is rewritten, so nothing of the previous game survives.
    for (int z = 1; z <= GridLevels; ++z)
        for (int y = 1; y <= GridRows; ++y)
            for (int x = 1; x <= GridColumns; ++x)
                Grid.Set(x, y, z, shape.At(x, y, z) ? WaitingSlot : 0);
    State.TilesLeft = TileCount;

    for (int tile = 1; tile <= TileCount; ++tile) {
        int x = 0, y = 0, z = 0;
        do {
            x = static_cast<int>(Rng.Random(GridColumns)) + 1;
            y = static_cast<int>(Rng.Random(GridRows)) + 1;
            z = static_cast<int>(Rng.Random(GridLevels)) + 1;
        } while (Grid.At(x, y, z) != WaitingSlot);
        Grid.Set(x, y, z, static_cast<std::uint8_t>(tile));
        Places[tile] = {x, y, z};
    }
}

bool Game::Restart(std::uint32_t now, BoardView& view) {
    if (State.TilesLeft == 0 || State.TilesLeft == TileCount || !State.Running())
        return false;
    while (State.TilesLeft < TileCount) {
        GoBack();
        view.FullRedraw();
    }
    State.ElapsedSeconds = 0;
    State.PenaltySeconds = 0;
    State.PausedTicks = 0;
    State.StartTick = static_cast<std::int32_t>(now);
    return true;
}

bool Game::StopGame(std::uint32_t now) {
    // A won game stays won.
    if (!State.InPlay())
        return false;
    const bool endedPause = State.Paused();
    if (endedPause)
        State.StartTick =
            static_cast<std::int32_t>(now - static_cast<std::uint32_t>(State.PausedTicks));
    State.Phase = GamePhase::Stopped;
    return endedPause;
}

TickOutcome Game::Tick(std::uint32_t now) {
    TickOutcome out;
    UpdateClock(now);
    if (!State.InPlay()) {
        out.NextChangeIn = NoChangeDue;
        return out;
    }
    out.Counted = true;
    IsItFree();
    if (State.TilesLeft == 0) {
        // A win while paused ends the pause too; the counts shown are the final ones.
        StopGame(now);
        State.Phase = GamePhase::Won;
        IsItFree();
        out.Won = true;
    }
    out.TilesLeft = State.TilesLeft;
    out.MovesLeft = State.MovesLeft;
    out.Seconds = State.Paused() ? -1 : State.TotalSeconds();
    if (!out.Won) {
        out.NoMoves = State.MovesLeft == 0;
        out.WarningShown = NoMovesWarningShown(now);
        // Taken after the counts: a limit reached while paused leaves the time hidden.
        if (TimeIsUp()) {
            StopGame(now);
            out.TimeUp = true;
        }
    }
    out.NextChangeIn = State.InPlay() ? NextChangeIn(now, out.NoMoves) : NoChangeDue;
    return out;
}

std::uint32_t Game::NextChangeIn(std::uint32_t now, bool noMoves) const {
    const std::uint32_t played = TicksSince(now, State.StartTick);
    std::uint32_t next = NoChangeDue;
    if (State.Running()) {
        // The clock panel's next second; the limit falls on one of them.
        next = 1000 - played % 1000;
    } else {
        // Paused: the time is hidden, but the limit still comes.
        const std::int64_t limit =
            (static_cast<std::int64_t>(TimeLimitSeconds) - State.PenaltySeconds) * 1000;
        next = limit <= static_cast<std::int64_t>(played)
                   ? 0
                   : static_cast<std::uint32_t>(
                         std::min<std::int64_t>(limit - played, NoChangeDue - 1));
    }
    if (noMoves) {
        // The warning's next change of phase: at 501 and at 1000 ms of each second.
        const std::uint32_t into = now % 1000;
        next = std::min(next, into <= 500 ? 501 - into : 1000 - into);
    }
    return next;
}

void Game::UpdateClock(std::uint32_t now) {
    // A pause does not stop this: the limit is reached while paused too, and the
    // resume moves StartTick so the paused time drops out.
    if (!State.InPlay())
        return;
    State.ElapsedSeconds = static_cast<std::int32_t>(TicksSince(now, State.StartTick) / 1000);
}

bool Game::PauseClick(std::uint32_t now) {
    if (!State.InPlay())
        return false;
    if (State.Paused()) {
        State.Phase = GamePhase::Running;
        State.StartTick =
            static_cast<std::int32_t>(now - static_cast<std::uint32_t>(State.PausedTicks));
    } else {
        State.Phase = GamePhase::Paused;
        // Kept modulo 2^32: the resume subtracts it the same way.
        State.PausedTicks = static_cast<std::int32_t>(TicksSince(now, State.StartTick));
    }
    return true;
}

void Game::PlaceTile(std::uint8_t tile, int x, int y, int z) {
    if (tile < 1 || tile > TileCount || !BoardGrid::Inside(x, y, z))
        return;
    Grid.Set(x, y, z, tile);
    Places[tile] = {x, y, z};
}

void Game::ClearBoard() {
    Grid.Clear();
    Places.fill({});
}

} // namespace mirelo

#include "Game.h"

#include "LayoutTemplate.h"

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
    State.GameWon = false;
    State.WinAnnounced = false;
    State.Paused = false;
    State.HintIndex = 0;
    State.HintFirst = 0;
    State.HintSecond = 0;
    State.FirstPick = 0;
    State.SecondPick = 0;
    State.ElapsedSeconds = 0;
    State.PenaltySeconds = 0;
    State.PausedTicks = 0;
    State.StartTick = static_cast<std::int32_t>(now);
    State.GameOver = false;
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
    if (State.TilesLeft == 0 || State.TilesLeft == TileCount || State.Paused || State.GameOver ||
        State.GameWon)
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
    State.GameOver = true;
    const bool endedPause = State.Paused;
    if (endedPause)
        State.StartTick =
            static_cast<std::int32_t>(now - static_cast<std::uint32_t>(State.PausedTicks));
    State.Paused = false;
    return endedPause;
}

void Game::UpdateClock(std::uint32_t now) {
    // A pause does not stop this: the limit is reached while paused too, and the
    // resume moves StartTick so the paused time drops out.
    if (State.GameWon || State.GameOver)
        return;
    State.ElapsedSeconds = static_cast<std::int32_t>(TicksSince(now, State.StartTick) / 1000);
}

bool Game::PauseClick(std::uint32_t now) {
    if (State.GameOver || State.GameWon)
        return false;
    if (State.Paused) {
        State.Paused = false;
        State.StartTick =
            static_cast<std::int32_t>(now - static_cast<std::uint32_t>(State.PausedTicks));
    } else {
        State.Paused = true;
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

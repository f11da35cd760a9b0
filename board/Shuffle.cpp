#include "Game.h"

#include <utility>

namespace mirelo {

ShuffleOutcome Game::Shuffle() {
    if (!State.Running())
        return {};
    int passes = 0;
    do {
        ShufflePass();
        IsItFree();
        ++passes;
    } while (State.MovesLeft == 0 && passes < MaxShufflePasses);
    State.HintFirst = 0;
    State.HintSecond = 0;
    State.FirstPick = 0;
    State.SecondPick = 0;
    State.PenaltySeconds += ShufflePenaltyPerMove * State.MovesLeft;
    return {true, passes, State.MovesLeft};
}

void Game::ShufflePass() {
    // Only occupied cells take part, so the set of occupied cells never changes
    // and Back can still put every removed pair into its empty old place. A tile
    // swapped into a cell later in the scan is visited again.
    for (int x = 1; x <= GridColumns; ++x)
        for (int y = 1; y <= GridRows; ++y)
            for (int z = 1; z <= GridLevels; ++z) {
                const std::uint8_t a = Grid.At(x, y, z);
                if (a == 0)
                    continue;
                int rx = 0, ry = 0, rz = 0;
                do {
                    rx = static_cast<int>(Rng.Random(GridColumns)) + 1;
                    ry = static_cast<int>(Rng.Random(GridRows)) + 1;
                    rz = static_cast<int>(Rng.Random(GridLevels)) + 1;
                } while (Grid.At(rx, ry, rz) == 0);
                const std::uint8_t b = Grid.At(rx, ry, rz);
                std::swap(Places[a], Places[b]);
                Grid.Set(rx, ry, rz, a);
                Grid.Set(x, y, z, b);
            }
}

} // namespace mirelo

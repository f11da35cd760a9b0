// Deals a Traditional board with today's time as the seed and prints it level by
// level, so the rules can be seen working before the window exists.
#include "Game.h"
#include "LayoutTemplate.h"
#include "SystemClock.h"
#include "Tiles.h"

#include <cstdio>
#include <cstdlib>

namespace {

// A short name for a tile: C1..C9 Cracks, B1..B9 Bamboos, D1..D9 Dots,
// F1..F4 Flowers, S1..S4 Seasons, Rd Gr Wh Dragons, E S W N Winds.
void TileName(int tile, char out[3]) {
    const int picture = mirelo::TilePicture(tile);
    static const char* const honours[] = {"Rd", "Gr", "Wh", "We", "Ws", "Ww", "Wn"};
    if (picture <= 27) {
        out[0] = "CBD"[(picture - 1) / 9];
        out[1] = static_cast<char>('1' + (picture - 1) % 9);
    } else if (picture <= 35) {
        out[0] = picture <= 31 ? 'F' : 'S';
        out[1] = static_cast<char>('1' + (picture - 28) % 4);
    } else {
        out[0] = honours[picture - 36][0];
        out[1] = honours[picture - 36][1];
    }
    out[2] = '\0';
}

} // namespace

int main(int argc, char** argv) {
    mirelo::RealClock clock;
    const std::uint32_t seed = argc > 1
                                   ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10))
                                   : clock.TimeOfDayMilliseconds();
    mirelo::Game game;
    game.BeginGame(mirelo::LayoutTraditional, seed, clock.GetTickCount());
    game.IsItFree();

    std::printf("Traditional deal, seed %u: %d free tiles, %d moves\n", seed, game.State.FreeCount,
                game.State.MovesLeft);
    for (int z = 1; z <= mirelo::GridLevels; ++z) {
        std::printf("\nLevel %d\n", z);
        for (int y = 1; y <= mirelo::GridRows; ++y) {
            char line[mirelo::GridColumns * 2 + 2] = {};
            bool any = false;
            for (int x = 1; x <= mirelo::GridColumns; ++x) {
                line[2 * (x - 1)] = ' ';
                line[2 * (x - 1) + 1] = ' ';
            }
            for (int x = 1; x <= mirelo::GridColumns; ++x) {
                const int tile = game.Grid.At(x, y, z);
                if (tile == 0)
                    continue;
                char name[3];
                TileName(tile, name);
                line[2 * (x - 1)] = name[0];
                line[2 * (x - 1) + 1] = name[1];
                any = true;
            }
            if (any)
                std::printf("%2d %s\n", y, line);
        }
    }
    return 0;
}

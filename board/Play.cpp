#include "Game.h"
#include "Tiles.h"

namespace mirelo {

void Game::Pick(std::uint8_t tile, BoardView& view) {
    if (tile == 0)
        return;
    if (State.FirstPick == 0) {
        State.FirstPick = tile;
        if (IsFree(tile)) {
            view.SonOK(tile);
        } else {
            State.FirstPick = 0;
            view.SonBip();
        }
    } else {
        State.SecondPick = tile;
        if (IsFree(tile)) {
            TestStile2(view);
        } else {
            State.SecondPick = 0;
            view.SonBip();
        }
    }
    PairCheck(view);
}

void Game::TestStile2(BoardView& view) {
    if (State.SecondPick == State.FirstPick) {
        const std::uint8_t tile = State.FirstPick;
        State.FirstPick = 0;
        State.SecondPick = 0;
        view.SonOK(tile); // redrawn unselected
    } else {
        view.SonOK(State.SecondPick);
    }
}

void Game::PairCheck(BoardView& view) {
    if (State.FirstPick == 0 || State.SecondPick == 0)
        return;
    const std::uint8_t a = State.FirstPick;
    const std::uint8_t b = State.SecondPick;
    if (TileFace(a) != TileFace(b)) {
        // The tile just clicked stays selected and becomes the first pick.
        State.FirstPick = b;
        State.SecondPick = 0;
        view.RedrawTile(a);
        return;
    }
    const int removed = TileCount - State.TilesLeft;
    History[removed] = {a, Places[a].X, Places[a].Y, Places[a].Z};
    History[removed + 1] = {b, Places[b].X, Places[b].Y, Places[b].Z};
    State.FirstPick = 0;
    State.SecondPick = 0;
    RemoveFromBoard(a, view);
    RemoveFromBoard(b, view);
    State.TilesLeft = static_cast<std::uint8_t>(State.TilesLeft - 2);
    view.PairRemovedSound();
}

void Game::RemoveFromBoard(std::uint8_t tile, BoardView& view) {
    // The redraw finds the tile's box through its place, so the place is cleared
    // only after the redraw, and the grid cell before it.
    const TilePlace place = Places[tile];
    Grid.Set(place.X, place.Y, place.Z, 0);
    view.RedrawTile(tile);
    Places[tile] = {};
}

void Game::DropPicks(BoardView& view) {
    State.FirstPick = 0;
    State.SecondPick = 0;
    State.HintFirst = 0;
    State.HintSecond = 0;
    view.FullRedraw();
}

bool Game::Back(BoardView& view) {
    if (State.Paused() || State.TilesLeft == 0 || State.TilesLeft == TileCount)
        return false;
    GoBack();
    view.FullRedraw();
    return true;
}

void Game::GoBack() {
    if (State.TilesLeft > TileCount - 2)
        return;
    State.TilesLeft = static_cast<std::uint8_t>(State.TilesLeft + 2);
    State.FirstPick = 0;
    State.SecondPick = 0;
    State.HintFirst = 0;
    State.HintSecond = 0;
    const int first = TileCount - State.TilesLeft;
    for (int i = first; i <= first + 1; ++i) {
        const MoveEntry& entry = History[i];
        Places[entry.Tile] = {entry.X, entry.Y, entry.Z};
        Grid.Set(entry.X, entry.Y, entry.Z, entry.Tile);
    }
}

} // namespace mirelo

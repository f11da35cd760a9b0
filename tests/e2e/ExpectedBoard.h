#pragma once

#include "BoardRenderer.h"
#include "Game.h"
#include "TileSheet.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>

namespace mirelo::test {

// The deal the program makes from `seed`, drawn the way the program draws it,
// with the hit map it builds. A test plays its clicks here too, so the picture
// and the hit map stay those of the running program. At scale 2 the picture is
// drawn from the finer pictures; the points and boxes stay in the game's pixels.
struct ExpectedBoard {
    ExpectedBoard(std::uint32_t seed, int wideScreen, int scale = 1);

    Game game;
    TileSheet sheet;
    BoardRenderer renderer;
    QImage background;

    // Draws the board as it stands, picks shown.
    void Draw();
    // What the program does with a click that hit `tile`; Draw() follows.
    void Pick(std::uint8_t tile);
    // A Buffer point on the face of `tile` where the hit map gives `tile`, as
    // near the face's middle as it can be with a few pixels of the same tile all
    // round; (-1, -1) when the tile shows nowhere.
    QPoint ClickPoint(std::uint8_t tile) const;
    // The whole drawn extent of a tile, in Buffer coordinates.
    QRect Box(std::uint8_t tile) const { return renderer.TileBox(game.Places[tile]); }
};

// How many pixels differ between `screen` at `onScreen` and `picture` at
// `inPicture` (same size); -1 when either rectangle is not wholly inside.
int DifferentPixels(const QImage& screen, QRect onScreen, const QImage& picture, QRect inPicture);

class XSession;

// Clicks `a` and then `b` on the board whose `board` part of Buffer shows from
// screen row `top`, at `scale` screen pixels to a game pixel, moves the pointer
// off the tiles (its rectangle would stay) and plays the pair on `expected`
// too. Waits up to 5 s for the screen to show the board without the pair;
// returns the pixels that still differ then (0: it does), or -2 when a click
// could not be sent. The last screenshot goes to `after`.
int RemovePairOnScreen(XSession& x, ExpectedBoard& expected, std::uint8_t a, std::uint8_t b,
                       int top, QRect board, int scale, QImage& after);

// The screen row where the top-left `width` x `height` of `buffer` shows
// exactly, from screen column `left`; -1 when it shows nowhere.
int FindBufferRow(const QImage& screen, int left, const QImage& buffer, int width, int height);

} // namespace mirelo::test

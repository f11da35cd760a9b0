#pragma once

#include <QString>

namespace mirelo {

// How the tile under the pointer is shown; the numbers are the stored values.
enum class Highlight : int { None = 0, Rectangle = 1, Color = 2 };

// The remembered options, with the values of a fresh system.
struct Options {
    int TileStyle = 0; // 0 Wood, 1 Blue, 2 Red
    Highlight HighlightMode = Highlight::Rectangle;
    bool ShowMoves = true;
    bool PlayMusic = false;
    bool PlaySounds = false;
    bool NeverWarn = false;
    QString CurrentPlayer = QStringLiteral("Player1");
    int Background = 1; // 0 Kanji, 1 Dragons; anything else checks neither
    bool StartDirectly = true;
    bool WinnableDeals = false; // deal again until the board is proved winnable
    int Zoom = 100; // %, 100, 150 or 200: the desktop's scale times this, from the start
};

} // namespace mirelo

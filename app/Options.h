#pragma once

#include <QString>

namespace mirelo {

// The remembered options, with the values of a fresh system.
struct Options {
    int TileStyle = 0;     // 0 Wood, 1 Blue, 2 Red
    int HighlightMode = 1; // 0 None, 1 Rectangle, 2 Color
    bool ShowMoves = true;
    bool PlayMusic = false;
    bool PlaySounds = false;
    bool NeverWarn = false;
    QString CurrentPlayer = QStringLiteral("Player1");
    int Background = 1; // 0 Kanji, 1 Dragons; anything else checks neither
    bool StartDirectly = true;
    bool WinnableDeals = false; // deal again until the board is proved winnable
};

} // namespace mirelo

#pragma once
// One picture to review all the artwork at once, composed as the game
// composes it.

#include <QImage>

namespace artgen {

struct Fonts;
class TileComposer;

struct SheetInputs {
    const Fonts& fonts;
    const TileComposer& tiles;
    QImage kanji;
    QImage dragons;
    QImage logo;
    QImage icon;
    QImage largeIcon;
    QImage techno;
    QImage hand;
    QImage newGame;
    QImage newGameDisabled;
};

QImage drawContactSheet(const SheetInputs& in);

} // namespace artgen

#pragma once

#include "TileSheet.h"

#include <QColor>

namespace mirelo::test {

// Plain colours, so a probe can tell exactly what was drawn where.
inline const QColor WoodBlank(250, 230, 200);
inline const QColor BlueBlank(180, 200, 255);
inline const QColor RedBlank(255, 180, 180);
inline const QColor EdgeColour(0, 160, 0);

// The symbol colour of picture p: unique per picture, never pure black.
inline QColor SymbolColour(int picture) {
    return QColor(picture * 5, 255 - picture * 5, 77);
}

// A tile sheet whose pictures are a 10 x 10 block of their own colour at
// (15, 20) inside the cell, on black, with plain blanks and a green edge band.
TileSheet SyntheticSheet();

} // namespace mirelo::test

#pragma once

#include <QImage>

namespace artgen {

struct Fonts;

// Application icon with alpha: two stacked tiles, the front one bearing a red
// 中. Drawn from one design at any size in pixels (32 for the window, 128 for
// menus, and twice those for denser screens).
QImage drawAppIcon(const Fonts& fonts, int size);

// 16 x 16 (times the scale) "new game" button: a green and white disc, and
// its greyed twin.
QImage drawNewGameIcon(int scale);
QImage drawNewGameDisabledIcon(int scale);

} // namespace artgen

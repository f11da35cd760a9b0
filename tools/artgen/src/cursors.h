#pragma once
// Mouse pointers: 32 x 32 times the scale, black and white on full
// transparency. Hot spots, like every length, grow with the scale.

#include <QImage>

namespace artgen {

// "TECHNO": a dart-shaped arrow of our own design, tip (hot spot) at (0, 0).
QImage drawTechnoPointer(int scale);

// "HAND": a hand with raised index finger, fingertip (hot spot) at (5, 0).
QImage drawHandPointer(int scale);

} // namespace artgen

#pragma once
// Mouse pointers: 32 x 32, black and white on full transparency.

#include <QImage>

namespace artgen {

// "TECHNO": a dart-shaped arrow of our own design, tip (hot spot) at (0, 0).
QImage drawTechnoPointer();

// "HAND": a hand with raised index finger, fingertip (hot spot) at (5, 0).
QImage drawHandPointer();

} // namespace artgen

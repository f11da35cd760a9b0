#pragma once
// The 42 tile pictures. Each drawer paints one symbol into the 40 x 50 cell of
// an anti-aliased painter (scaled for the denser set); drawPicture() turns it
// into a tile-sheet cell.

#include <QImage>

class QPainter;

namespace artgen {

struct Fonts;

// Picture n (1..42) as a 40 x 50 RGB32 cell times the scale: symbol on pure
// black.
QImage drawPicture(int n, const Fonts& fonts, int scale);

void drawCrack(QPainter& p, int rank, const Fonts& fonts);   // rank 1..9
void drawBamboo(QPainter& p, int rank);                      // rank 1..9
void drawDots(QPainter& p, int rank);                        // rank 1..9
void drawFlower(QPainter& p, int index, const Fonts& fonts); // 1..4
void drawSeason(QPainter& p, int index, const Fonts& fonts); // 1..4
void drawDragon(QPainter& p, int index, const Fonts& fonts); // 0 red, 1 green, 2 white
void drawWind(QPainter& p, int index, const Fonts& fonts);   // 0 E, 1 S, 2 W, 3 N

} // namespace artgen

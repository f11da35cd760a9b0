#pragma once

#include <QImage>

namespace artgen {

struct Fonts;
class TileComposer;

// 253 x 128 title picture: "MIRELO" in gilded serif over a row of tiles, at
// the scale of the tiles it is given.
QImage drawLogo(const Fonts& fonts, const TileComposer& tiles);

} // namespace artgen

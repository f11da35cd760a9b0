#pragma once

#include <QImage>
#include <QPoint>

namespace mirelo {

inline constexpr int StyleWood = 0;
inline constexpr int StyleBlue = 1;
inline constexpr int StyleRed = 2;
inline constexpr int StyleCount = 3;
inline constexpr int NoStyleApplied = 255;

// The tile pictures: TileGfx (42 pictures on black, three blanks, the edge band
// and its mask), Mask (black on every symbol pixel) and MaskedTiles, the 42
// pictures composed on the blank of the style in force, so that an ordinary tile
// costs one copy on every redraw.
class TileSheet {
public:
    // Loads the pictures compiled into the program.
    TileSheet();
    // Takes the given pictures instead (tests).
    TileSheet(QImage tileGfx, QImage mask);

    // Brings MaskedTiles up to `tileStyle`; returns false when it already was.
    bool ChangeTexture(int tileStyle);

    // Top-left of picture 1..42's cell; of style 0..2's blank.
    static QPoint TilePictureOrigin(int picture);
    static QPoint TileBlankOrigin(int style);

    // The edge band picture and its mask in TileGfx, 46 x 56 each.
    static QPoint EdgePictureOrigin() { return {0, 250}; }
    static QPoint EdgeMaskOrigin() { return {46, 250}; }

    QImage TileGfx;
    QImage Mask;
    QImage MaskedTiles;
    int AppliedTileStyle = NoStyleApplied;
};

// A picture compiled into the program, as Format_RGB32; a grey stand-in of the
// right size if the resource is missing, so drawing code never meets a null image.
QImage LoadPicture(const char* name, int width, int height);

} // namespace mirelo

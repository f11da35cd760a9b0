#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <functional>
#include <memory>
#include <vector>

namespace mirelo {

inline constexpr int StyleWood = 0;
inline constexpr int StyleBlue = 1;
inline constexpr int StyleRed = 2;
inline constexpr int StyleCount = 3;
inline constexpr int NoStyleApplied = 255;

// The tile pictures: TileGfx (42 pictures on black, three blanks, the edge band
// and its mask), Mask (black on every symbol pixel, white elsewhere, one byte a
// pixel) and MaskedTiles, the 42
// pictures composed on the blank of the style in force, so that an ordinary tile
// costs one copy on every redraw. At scale 2 every picture has twice the pixels
// each way; the origins below stay in scale-1 pixels.
class TileSheet {
public:
    // Loads the pictures compiled into the program at `scale` (1 or 2).
    explicit TileSheet(int scale = 1);
    // Takes the given pictures instead (tests), drawn at `scale`. Null pictures
    // make an empty sheet, a placeholder to be replaced before it is drawn from.
    TileSheet(QImage tileGfx, QImage mask, int scale = 1);

    // Brings MaskedTiles up to `tileStyle`; returns false when it already was.
    bool ChangeTexture(int tileStyle);

    // Top-left of picture 1..42's cell; of style 0..2's blank.
    static QPoint TilePictureOrigin(int picture);
    static QPoint TileBlankOrigin(int style);

    // The edge band picture and its mask in TileGfx, 46 x 56 each.
    static QPoint EdgePictureOrigin() { return {0, 250}; }
    static QPoint EdgeMaskOrigin() { return {46, 250}; }

    int Scale = 1;
    QImage TileGfx;
    QImage Mask;
    QImage MaskedTiles;
    int AppliedTileStyle = NoStyleApplied;
};

// A picture compiled into the program, by file name and the size it must have
// at scale 1. At scale 2 it is the "@2x" file, twice as wide and high. A
// black-and-white picture may be kept in Format_Grayscale8, a quarter of the
// memory, converted as soon as it is decoded.
struct PictureName {
    const char* Name;
    int Width;
    int Height;
    int Scale = 1;
    QImage::Format Format = QImage::Format_RGB32;

    constexpr PictureName AtScale(int scale) const { return {Name, Width, Height, scale, Format}; }
};
inline constexpr PictureName TileGfxPicture{"tilegfx.png", 360, 306};
inline constexpr PictureName MaskPicture{"mask.png", 360, 250, 1, QImage::Format_Grayscale8};

// A picture compiled into the program, in its format (Format_RGB32 unless
// named otherwise) with its scale as its device pixel ratio; a grey stand-in of the right size if
// the resource is missing, so drawing code never meets a null image. A picture a PicturePreload
// decodes is taken from it (waiting if need be) the first time it is asked for.
QImage LoadPicture(const char* name, int width, int height, int scale = 1);
QImage LoadPicture(const PictureName& picture);
// A picture compiled into the program with its transparency (an icon, a
// pointer), at `scale`; null if the resource is missing.
QPixmap LoadPixmap(const char* name, int scale = 1);
// Adds a picture to `icon` in `mode`, with its finer drawing where a screen is
// dense, as QIcon::addFile would.
void AddIconPicture(QIcon& icon, const char* name, QIcon::Mode mode = QIcon::Normal);
// Hands back the program file's pages that hold the pictures, as far as they
// lie wholly inside one: reading a picture brings in its neighbours' pages as
// well, which the reader never asked for. Read again, they come back from the
// file.
void ReleasePictureFilePages();

// Decodes pictures on a worker thread while the program starts, so that the
// window's thread finds them ready instead of spending its own time on them.
// `choose` runs first, on the worker, and names the pictures in the order the
// worker takes them, one at a time: the longest to decode first. A picture
// asked for before the worker has begun it is decoded by the thread that asks,
// so the two threads decode side by side. The destructor waits for the
// worker, and pictures never asked for are dropped. Start it once the
// application exists: while QApplication is being built, Qt's plugin paths are
// not safe to read from another thread (and that thread would be taken for the
// main one).
class PicturePreload {
public:
    explicit PicturePreload(std::function<std::vector<PictureName>()> choose);
    ~PicturePreload();
    PicturePreload(const PicturePreload&) = delete;
    PicturePreload& operator=(const PicturePreload&) = delete;

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
};

} // namespace mirelo

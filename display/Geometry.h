#pragma once

// Every size and offset of the board picture in one place.
namespace mirelo::geometry {

inline constexpr int TileWidth = 40; // a tile's face
inline constexpr int TileHeight = 50;
inline constexpr int EdgeBand = 6;                          // the tile's side, left and bottom
inline constexpr int TileBoxWidth = TileWidth + EdgeBand;   // face plus band: 46
inline constexpr int TileBoxHeight = TileHeight + EdgeBand; // 56
inline constexpr int ShortBottomBand = 27; // when a tile lies one column right, two rows down

inline constexpr int ColumnWidth = 20; // a grid column; a tile is two columns wide
inline constexpr int RowHeight = 25;   // a grid row; a tile is two rows high
inline constexpr int LevelShift = 6;   // each level up moves a tile right and up

// The board origin in Buffer, when the screen is wide (times WideScreen).
inline constexpr int BoardOriginX = 36;
inline constexpr int BoardOriginY = 25;
// The part of Buffer refreshed from the background on every redraw.
inline constexpr int BoardAreaWidth = 628;
inline constexpr int BoardAreaHeight = 428;
// Where a click counts: 34 columns x 20 rows.
inline constexpr int ClickAreaWidth = 680;
inline constexpr int ClickAreaHeight = 500;

inline constexpr int BackgroundWidth = 800;
inline constexpr int BackgroundHeight = 468;
// Buffer is the background's size: the window shows no row of it below the
// background, and every tile lies within the board area.
inline constexpr int BufferWidth = BackgroundWidth;
inline constexpr int BufferHeight = BackgroundHeight;

// The hit map stores one tile number per 3 x 3 pixel block: small enough to
// rebuild on every redraw, fine enough that a click lands on the tile seen.
inline constexpr int HitBlock = 3;
inline constexpr int HitMapColumns = 255;
inline constexpr int HitMapRows = 200;
inline constexpr int HitCellsAcross = 15; // cells a tile claims: about its TileBox
inline constexpr int HitCellsDown = 18;

inline constexpr int ToolbarRowHeight = 41;
inline constexpr int StatusBarHeight = 25;
inline constexpr int WideClientWidth = 800;
inline constexpr int NarrowClientWidth = 640;
// The 640 x 480 window keeps this much room for the board below its menu bar.
inline constexpr int NarrowBoardHeight = 411;

inline constexpr int LogoX = 228;
inline constexpr int LogoY = 164; // below the toolbar row

// A tile's face, top-left, in board coordinates.
constexpr int FaceLeft(int x, int z) {
    return ColumnWidth * x + LevelShift * z - 46;
}
constexpr int FaceTop(int y, int z) {
    return RowHeight * y - LevelShift * z - 59;
}

} // namespace mirelo::geometry

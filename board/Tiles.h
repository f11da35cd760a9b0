#pragma once

#include <array>
#include <cstdint>

namespace mirelo {

// Two tiles match exactly when their faces are equal: any two Flowers (109-112)
// share face 27 and any two Seasons (113-116) share face 28.
constexpr int TileFace(int tile) {
    return (tile - 1) / 4;
}

inline constexpr int PictureCount = 42;

namespace detail {
constexpr std::array<std::uint8_t, 145> BuildPictureTable() {
    std::array<std::uint8_t, 145> table{};
    for (int t = 1; t <= 144; ++t) {
        int picture = 0;
        if (t <= 108)
            picture = (t - 1) / 4 + 1; // Cracks, Bamboos, Dots: four tiles a picture
        else if (t <= 116)
            picture = t - 81; // Flowers and Seasons: a picture of their own each
        else
            picture = (t - 1) / 4 + 7; // Dragons and Winds
        table[t] = static_cast<std::uint8_t>(picture);
    }
    return table;
}
inline constexpr auto PictureTable = BuildPictureTable();
} // namespace detail

// The picture 1..42 that tile 1..144 shows.
constexpr int TilePicture(int tile) {
    return detail::PictureTable[tile];
}

} // namespace mirelo

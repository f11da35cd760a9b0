#include "Shadow.h"

namespace mirelo::soak {

void Shadow::Clear() {
    places_.fill({});
    for (auto& level : cells_)
        for (auto& row : level)
            row.fill(0);
    tilesOn_ = 0;
    stale_ = true;
}

bool Shadow::Put(int tile, Anchor at) {
    if (tile < 1 || tile > 144 || places_[tile].On() || !Inside(at.X, at.Y, at.Z) ||
        cells_[at.Z][at.Y][at.X] != 0)
        return false;
    places_[tile] = at;
    cells_[at.Z][at.Y][at.X] = static_cast<std::uint8_t>(tile);
    ++tilesOn_;
    stale_ = true;
    return true;
}

void Shadow::Take(int tile) {
    const Anchor at = places_[tile];
    if (!at.On())
        return;
    cells_[at.Z][at.Y][at.X] = 0;
    places_[tile] = {};
    --tilesOn_;
    stale_ = true;
}

const Footprints& Shadow::Look() {
    if (!stale_)
        return facts_;
    stale_ = false;
    Footprints& f = facts_;
    std::uint8_t* const cover = cover_.data();
    for (int i = 0; i < paintedCount_; ++i) {
        std::uint8_t* const c = cover + painted_[i];
        c[0] = c[1] = c[CoverRow] = c[CoverRow + 1] = 0;
    }
    int painted = 0;
    unsigned overlap = 0;
    for (int t = 1; t <= 144; ++t) {
        if (!places_[t].On())
            continue;
        const int at = CoverIndex(places_[t]);
        painted_[painted++] = at;
        std::uint8_t* const c = cover + at;
        overlap |= c[0] | c[1] | c[CoverRow] | c[CoverRow + 1];
        c[0] = c[1] = c[CoverRow] = c[CoverRow + 1] = static_cast<std::uint8_t>(t);
    }
    paintedCount_ = painted;
    f.Overlap = overlap != 0;

    std::array<int, 36> lastFree{};
    std::array<int, 36> freeOfFace{};
    f.FreeCount = 0;
    f.PairCount = 0;
    for (int t = 1; t <= 144; ++t) {
        bool free = false;
        if (places_[t].On()) {
            const std::uint8_t* here = cover + CoverIndex(places_[t]);
            const std::uint8_t* above = here + CoverLevel;
            const bool covered = above[0] | above[1] | above[CoverRow] | above[CoverRow + 1];
            const bool leftOpen = !(here[-1] | here[CoverRow - 1]);
            const bool rightOpen = !(here[2] | here[CoverRow + 2]);
            free = !covered && (leftOpen || rightOpen);
        }
        f.Free[t] = free;
        if (!free)
            continue;
        f.FreeTiles[f.FreeCount++] = static_cast<std::uint8_t>(t);
        const int face = FaceOf(t);
        ++freeOfFace[face];
        if (lastFree[face] != 0)
            f.Pairs[f.PairCount++] = {static_cast<std::uint8_t>(lastFree[face]),
                                      static_cast<std::uint8_t>(t)};
        lastFree[face] = t;
    }
    f.Moves = 0;
    for (int k : freeOfFace)
        f.Moves += k > 1 ? k - 1 : 0;
    return f;
}

} // namespace mirelo::soak

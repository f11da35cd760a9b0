#pragma once

#include "BoardGrid.h"

#include <array>
#include <bit>
#include <cstdint>
#include <utility>

namespace mirelo {

// A set of tiles, one bit per tile: bit t - 1 for tile t. Face f = (t - 1) / 4
// thus owns the four bits 4f..4f+3, a nibble that never straddles two words.
struct TileSet {
    std::array<std::uint64_t, 3> W{};

    static constexpr int FacesPerWord = 16;

    bool Has(int i) const { return (W[i >> 6] >> (i & 63)) & 1u; }
    void Add(int i) { W[i >> 6] |= std::uint64_t{1} << (i & 63); }
    void Drop(int i) { W[i >> 6] &= ~(std::uint64_t{1} << (i & 63)); }
    bool Empty() const { return (W[0] | W[1] | W[2]) == 0; }
    bool Meets(const TileSet& o) const {
        return ((W[0] & o.W[0]) | (W[1] & o.W[1]) | (W[2] & o.W[2])) != 0;
    }
    int Count() const { return std::popcount(W[0]) + std::popcount(W[1]) + std::popcount(W[2]); }
    // The four bits of face f, as a nibble.
    unsigned Face(int f) const {
        return static_cast<unsigned>(W[f / FacesPerWord] >> (f % FacesPerWord * 4)) & 0xFu;
    }

    friend bool operator==(const TileSet&, const TileSet&) = default;
};

// The three ways to split a face's four tiles (bits 0..3 of its nibble) into two
// pairs, as the pairs' nibbles; matching m is bit m of a face's "allowed" mask.
constexpr std::pair<unsigned, unsigned> MatchingPairs(int m) {
    return m == 0 ? std::pair{0b0011u, 0b1100u}
                  : m == 1 ? std::pair{0b0101u, 0b1010u} : std::pair{0b1001u, 0b0110u};
}
inline constexpr unsigned AllMatchings = 0b111u;

// A position of the search: the tiles left, which of them are free, and for each
// face with four tiles left the matchings still allowed (three bits a face).
struct SolverPosition {
    TileSet Present;
    TileSet Free;
    std::array<std::uint64_t, 2> AllowedBits{};

    static constexpr int FacesPerWord = 18;

    unsigned Allowed(int f) const {
        return static_cast<unsigned>(AllowedBits[f / FacesPerWord] >> (f % FacesPerWord * 3)) & 7u;
    }
    void SetAllowed(int f, unsigned mask) {
        std::uint64_t& word = AllowedBits[f / FacesPerWord];
        const int shift = f % FacesPerWord * 3;
        word = (word & ~(std::uint64_t{7} << shift)) | (std::uint64_t{mask} << shift);
    }
};

// The board as the search sees it: for every tile on it, the tiles that block
// its left side, its right side and its top, and which tiles must go before
// which. Built once per solve; the search only reads it.
class SolverBoard {
public:
    static constexpr int MaxDependents = 15; // 3 to the left, 3 to the right, 9 below

    // False when grid and places disagree (a tile's place not holding it, or a
    // tile number in the grid that is not where its place says).
    bool Load(const BoardGrid& grid, const TilePlaces& places);

    const TileSet& Tiles() const { return tiles_; }

    bool IsFree(const TileSet& present, int i) const {
        return !present.Meets(above_[i]) && (!present.Meets(left_[i]) || !present.Meets(right_[i]));
    }
    TileSet FreeTiles(const TileSet& present) const;

    // Tiles whose freedom may change when tile i leaves.
    int DependentCount(int i) const { return dependentCount_[i]; }
    int Dependent(int i, int k) const { return dependents_[i][k]; }

    // True when of the two tiles of face f in `pair` (a nibble with two bits),
    // one lies above the other, directly or through a pile of tiles between
    // them: then they can never both be free while both are on the board.
    bool Comparable(int face, unsigned pair) const { return (comparable_[face] >> pair) & 1u; }

    // The matchings of face f (four tiles on the board) whose two pairs could
    // each come free, in some order, as far as the piles of tiles tell.
    unsigned Pairable(int face) const { return pairable_[face]; }

    // A proof at the start that the board can never be cleared: a face with an
    // odd number of tiles, a tile that can never come free, or (when
    // `byStacking`) a face whose tiles cannot be paired for lying on each other.
    bool ProvablyHopeless(bool byStacking) const;

private:
    unsigned PairableMatchings(int face) const;

    TileSet tiles_;
    std::array<TileSet, TileCount> left_{};
    std::array<TileSet, TileCount> right_{};
    std::array<TileSet, TileCount> above_{};
    // over_[i]: every tile that must leave before tile i can (lies above it, or
    // above one of those, and so on).
    std::array<TileSet, TileCount> over_{};
    std::array<std::array<std::uint8_t, MaxDependents>, TileCount> dependents_{};
    std::array<std::uint8_t, TileCount> dependentCount_{};
    std::array<std::uint16_t, TileCount / 4> comparable_{};
    std::array<std::uint8_t, TileCount / 4> pairable_{};
    bool neverFree_ = false;
};

} // namespace mirelo

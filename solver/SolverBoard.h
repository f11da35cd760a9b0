#pragma once

#include "BoardGrid.h"

#include <array>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

namespace mirelo {

// Bit counts without a library call: the build does not assume a CPU with a
// population-count instruction, and the search counts bits at every position.
constexpr int CountBits(std::uint64_t v) {
    v = v - ((v >> 1) & 0x5555555555555555ULL);
    v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((v * 0x0101010101010101ULL) >> 56);
}
constexpr int CountBits(unsigned nibble) {
    return (0x4332322132212110ULL >> (4 * (nibble & 15u))) & 15;
}

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
    int Count() const { return CountBits(W[0]) + CountBits(W[1]) + CountBits(W[2]); }
    TileSet& operator|=(const TileSet& o) {
        for (int w = 0; w < 3; ++w)
            W[w] |= o.W[w];
        return *this;
    }
    // The four bits of face f, as a nibble.
    unsigned Face(int f) const {
        return static_cast<unsigned>(W[f / FacesPerWord] >> (f % FacesPerWord * 4)) & 0xFu;
    }

    friend bool operator==(const TileSet&, const TileSet&) = default;
};

// The three ways to split a face's four tiles (bits 0..3 of its nibble) into two
// pairs, as the pairs' nibbles; matching m is bit m of a face's "allowed" mask.
constexpr std::pair<unsigned, unsigned> MatchingPairs(int m) {
    return m == 0   ? std::pair{0b0011u, 0b1100u}
           : m == 1 ? std::pair{0b0101u, 0b1010u}
                    : std::pair{0b1001u, 0b0110u};
}
inline constexpr unsigned AllMatchings = 0b111u;

// The tiles (a nibble) that tile k of a face may pair with under the matchings `allowed`.
constexpr unsigned Partners(unsigned allowed, int k) {
    unsigned partners = 0;
    for (int m = 0; m < 3; ++m)
        if ((allowed >> m) & 1u) {
            const auto [first, second] = MatchingPairs(m);
            partners |= ((first >> k) & 1u ? first : second) & ~(1u << k);
        }
    return partners;
}

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

    // Every tile that must leave before the two tiles of face f in `pair` (a
    // nibble with two bits) can leave together, as long as those two are on
    // the board: the tiles over either of them, and when the two lie in one
    // row, the tiles beyond its outer ends with the tiles over those.
    const TileSet& Before(int face, unsigned pair) const { return before_[face][pair]; }

    // The tiles that lie between the two tiles of the pair in their row: each
    // is hemmed in on both sides while the pair is there, so it leaves after.
    const TileSet& Between(int face, unsigned pair) const { return between_[face][pair]; }

    // The tiles that tile i lies over, directly or through others: all leave after it.
    const TileSet& Under(int i) const { return under_[i]; }

    // The pair can never leave: one of its tiles must leave before the pair.
    bool PairBlocked(int face, unsigned pair) const {
        return before_[face][pair].Face(face) & pair;
    }

    // Each of the two pairs must leave before the other, so neither ever can.
    bool Deadlocked(int fa, unsigned pa, int fb, unsigned pb) const {
        return (before_[fa][pa].Face(fb) & pb) && (before_[fb][pb].Face(fa) & pa);
    }

    // The matchings of face f (four tiles on the board) whose two pairs could
    // each come free, in some order, as far as rows and piles tell.
    unsigned Pairable(int face) const { return pairable_[face]; }

    // A proof at the start that the board can never be cleared: a face with an
    // odd number of tiles, a tile that can never come free, or (when `byOrder`)
    // a face whose tiles cannot be paired, or two pairs each waiting for the other.
    bool ProvablyHopeless(bool byOrder) const;

private:
    unsigned PairableMatchings(int face) const;
    void FindOrder(const TilePlaces& places, const std::vector<int>& tiles,
                   const std::array<bool, TileCount>& leftStuck,
                   const std::array<bool, TileCount>& rightStuck);

    TileSet tiles_;
    std::array<TileSet, TileCount> left_{};
    std::array<TileSet, TileCount> right_{};
    std::array<TileSet, TileCount> above_{};
    // over_[i]: every tile that must leave before tile i can (lies above it, or
    // above one of those, and so on).
    std::array<TileSet, TileCount> over_{};
    std::array<TileSet, TileCount> under_{};
    std::array<std::array<TileSet, 16>, TileCount / 4> before_{};
    std::array<std::array<TileSet, 16>, TileCount / 4> between_{};
    std::array<std::array<std::uint8_t, MaxDependents>, TileCount> dependents_{};
    std::array<std::uint8_t, TileCount> dependentCount_{};
    std::array<std::uint8_t, TileCount / 4> pairable_{};
    bool neverFree_ = false;
};

} // namespace mirelo

#pragma once

#include "SolverBoard.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirelo {

// The positions the search has proved hopeless, keyed by the tiles left and the
// pairings still allowed.
//
// The table keeps the whole key, not only its 64-bit hash, so a hash
// collision can never pass a winnable position off as hopeless. It grows up to
// a cap and then overwrites old entries: forgetting a proof only costs the time
// to prove it again, never a wrong answer.
class SolverMemo {
public:
    explicit SolverMemo(std::size_t maxSlots)
        : maxSlots_(maxSlots < MinSlots ? MinSlots : maxSlots) {
        slots_.resize(MinSlots);
    }

    bool Contains(const SolverPosition& p) const {
        const Key key = KeyOf(p);
        const std::size_t mask = slots_.size() - 1;
        const std::size_t start = Hash(key) & mask;
        for (std::size_t k = 0; k < Window; ++k) {
            const Key& slot = slots_[(start + k) & mask];
            if (slot == key)
                return true;
            // Slots are never emptied, so an empty one ends the key's window.
            if (IsEmpty(slot))
                return false;
        }
        return false;
    }

    // `p` must have tiles left: an empty tile set marks an empty slot.
    void Insert(const SolverPosition& p) {
        if (used_ * 2 >= slots_.size() && slots_.size() < maxSlots_)
            Grow();
        Place(KeyOf(p));
    }

    // A 64-bit hash of the tiles left and the pairings still allowed.
    static std::uint64_t Hash(const std::array<std::uint64_t, 5>& key) {
        std::uint64_t h = 0;
        for (std::uint64_t word : key)
            h = (h ^ word ^ (h >> 29)) * 0x9E3779B97F4A7C15ULL;
        return h ^ (h >> 32);
    }

private:
    // The free tiles follow from the tiles left, so they are not part of the key.
    using Key = std::array<std::uint64_t, 5>;

    static Key KeyOf(const SolverPosition& p) {
        return {p.Present.W[0], p.Present.W[1], p.Present.W[2], p.AllowedBits[0], p.AllowedBits[1]};
    }
    static bool IsEmpty(const Key& key) { return (key[0] | key[1] | key[2]) == 0; }

    static constexpr std::size_t MinSlots = 1024;
    static constexpr std::size_t Window = 8;

    void Place(const Key& key) {
        const std::size_t mask = slots_.size() - 1;
        const std::size_t start = Hash(key) & mask;
        for (std::size_t k = 0; k < Window; ++k) {
            Key& slot = slots_[(start + k) & mask];
            if (IsEmpty(slot)) {
                slot = key;
                ++used_;
                return;
            }
            if (slot == key)
                return;
        }
        // A full window: the newest proof replaces one of the window's, chosen by
        // the hash so that old entries do not all fall on the same slot.
        slots_[(start + (Hash(key) >> 61)) & mask] = key;
    }

    void Grow() {
        std::vector<Key> old(slots_.size() * 2);
        old.swap(slots_);
        used_ = 0;
        for (const Key& key : old)
            if (!IsEmpty(key))
                Place(key);
    }

    std::vector<Key> slots_;
    std::size_t used_ = 0;
    std::size_t maxSlots_;
};

} // namespace mirelo

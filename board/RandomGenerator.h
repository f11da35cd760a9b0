#pragma once

#include <cstdint>

namespace mirelo {

// The one generator behind the deal and the shuffle.
//
// A PCG32 (permuted congruential generator, XSH-RR output): 64 bits of state,
// statistically strong, and fully pinned by its seed, so a seeded deal is the
// same on every machine and compiler. Random(n) maps the output to 0..n-1 by
// Lemire's multiply-and-reject method, which is exactly uniform (no modulo
// bias) and almost never divides: a deal draws some 57,000 numbers.
class RandomGenerator {
public:
    explicit RandomGenerator(std::uint32_t seed = 0) { Seed(seed); }

    void Seed(std::uint32_t seed) {
        state_ = 0;
        Next();
        state_ += seed;
        Next();
    }

    // A uniformly distributed integer in 0..n-1; n must be at least 1.
    std::uint32_t Random(std::uint32_t n) {
        std::uint64_t m = std::uint64_t{Next()} * n;
        auto low = static_cast<std::uint32_t>(m);
        if (low < n) {
            const std::uint32_t threshold = (0u - n) % n;
            while (low < threshold) {
                m = std::uint64_t{Next()} * n;
                low = static_cast<std::uint32_t>(m);
            }
        }
        return static_cast<std::uint32_t>(m >> 32);
    }

    std::uint32_t Next() {
        const std::uint64_t old = state_;
        state_ = old * 6364136223846793005ULL + Increment;
        const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<std::uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((0u - rot) & 31u));
    }

private:
    static constexpr std::uint64_t Increment = 1442695040888963407ULL;
    std::uint64_t state_ = 0;
};

} // namespace mirelo

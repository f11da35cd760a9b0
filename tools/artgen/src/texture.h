#pragma once
// Seeded randomness and noise, so every rerun paints the same texture.

#include <QColor>
#include <QImage>
#include <cstdint>

namespace artgen {

// SplitMix64: small, fast and fully determined by its seed.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform(); // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(uniform() * n); }

private:
    std::uint64_t state_;
};

// Smooth 2D value noise on an integer lattice, in [0, 1].
class ValueNoise {
public:
    explicit ValueNoise(std::uint64_t seed) : seed_(seed) {}
    double at(double x, double y) const;
    // Sum of octaves, each half the size and weight of the last, in [0, 1].
    double fbm(double x, double y, int octaves) const;

private:
    double lattice(int x, int y) const;
    std::uint64_t seed_;
};

// Adds per-pixel grain of +-amount to every channel.
void addGrain(QImage& img, std::uint64_t seed, int amount);

// Darkens towards the corners; strength 0..1 at the far corner.
void addVignette(QImage& img, double strength);

QColor mix(const QColor& a, const QColor& b, double t);

// Centre of pixel i of a picture drawn at `scale`, in scale-1 pixel units
// (where pixel i's centre is at i). Noise sampled there shows the same
// pattern at every scale, only finer.
inline double designCoord(int i, int scale) {
    return (i + 0.5) / scale - 0.5;
}

} // namespace artgen

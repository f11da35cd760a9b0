#include "SoundShapes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace mirelo::sounds {

namespace {

constexpr double Tau = 2.0 * std::numbers::pi;

// Ramps at both ends keep a clip from clicking where it starts and stops.
double Edges(int i, int count, int attack, int release) {
    double g = 1.0;
    if (i < attack)
        g = static_cast<double>(i) / attack;
    const int fromEnd = count - 1 - i;
    if (fromEnd < release)
        g = std::min(g, static_cast<double>(fromEnd) / release);
    return g;
}

// A tone whose pitch and loudness follow `pitch` and `level` over t in [0, 1];
// `shape` turns the running phase into a wave.
std::vector<std::int16_t> Sweep(int count, const std::function<double(double)>& pitch,
                                const std::function<double(double)>& level,
                                const std::function<double(double)>& shape, int attack,
                                int release) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(count));
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / (count - 1);
        const double v = shape(phase) * level(t) * Edges(i, count, attack, release);
        out[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
        phase += Tau * pitch(t) / SampleRate;
        if (phase > Tau)
            phase -= Tau;
    }
    return out;
}

} // namespace

std::vector<std::int16_t> Selectil() {
    // A bright upward blip: the pitch doubles, quickest at the start.
    return Sweep(
        684, [](double t) { return 1000.0 * std::pow(2.0, std::sqrt(t)); },
        [](double t) { return 0.62 - 0.22 * t; },
        [](double p) { return std::sin(p) + 0.18 * std::sin(2.0 * p); }, 24, 160);
}

std::vector<std::int16_t> Enlever() {
    // A soft downward glide that dies away, with a little warble.
    return Sweep(
        2961,
        [](double t) {
            return 650.0 + 350.0 * std::pow(1.0 - t, 1.6) + 12.0 * std::sin(Tau * 9.0 * t);
        },
        [](double t) { return 0.7 * std::exp(-3.2 * t); },
        [](double p) { return std::sin(p) + 0.25 * std::sin(2.0 * p) + 0.08 * std::sin(3.0 * p); },
        40, 400);
}

std::vector<std::int16_t> Impossib() {
    // Loud and buzzy: odd harmonics make a near-square tone that says "no".
    return Sweep(
        543, [](double) { return 980.0; }, [](double) { return 0.78; },
        [](double p) { return std::sin(p) + 0.33 * std::sin(3.0 * p); }, 16, 60);
}

} // namespace mirelo::sounds

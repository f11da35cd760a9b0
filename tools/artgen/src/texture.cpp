#include "texture.h"

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

double smooth(double t) {
    return t * t * (3 - 2 * t);
}

int clamp255(double v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

} // namespace

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

double Rng::uniform() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double ValueNoise::lattice(int x, int y) const {
    std::uint64_t h = seed_ ^ (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) ^
                      static_cast<std::uint32_t>(y);
    Rng r(h);
    r.next();
    return r.uniform();
}

double ValueNoise::at(double x, double y) const {
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = smooth(x - x0);
    const double fy = smooth(y - y0);
    const double top = lattice(x0, y0) + (lattice(x0 + 1, y0) - lattice(x0, y0)) * fx;
    const double bottom =
        lattice(x0, y0 + 1) + (lattice(x0 + 1, y0 + 1) - lattice(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
}

double ValueNoise::fbm(double x, double y, int octaves) const {
    double sum = 0, weight = 1, total = 0, scale = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += at(x * scale + i * 17.3, y * scale - i * 9.1) * weight;
        total += weight;
        weight *= 0.5;
        scale *= 2;
    }
    return sum / total;
}

void addGrain(QImage& img, std::uint64_t seed, int amount) {
    Rng rng(seed);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int d = rng.below(2 * amount + 1) - amount;
            const QRgb c = line[x];
            line[x] = qRgba(clamp255(qRed(c) + d), clamp255(qGreen(c) + d), clamp255(qBlue(c) + d),
                            qAlpha(c));
        }
    }
}

void addVignette(QImage& img, double strength) {
    const double cx = img.width() / 2.0, cy = img.height() / 2.0;
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const double dx = (x - cx) / cx, dy = (y - cy) / cy;
            const double r2 = (dx * dx + dy * dy) / 2;
            const double k = 1 - strength * r2 * r2;
            const QRgb c = line[x];
            line[x] = qRgba(clamp255(qRed(c) * k), clamp255(qGreen(c) * k), clamp255(qBlue(c) * k),
                            qAlpha(c));
        }
    }
}

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor(clamp255(a.red() + (b.red() - a.red()) * t),
                  clamp255(a.green() + (b.green() - a.green()) * t),
                  clamp255(a.blue() + (b.blue() - a.blue()) * t));
}

} // namespace artgen

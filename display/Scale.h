#pragma once

namespace mirelo {

// The pictures exist at two scales: 1 for an ordinary screen, 2 for any denser
// one. A ratio between 1 and 2 (1.25, 1.5, 1.75) takes the finer pictures and
// the window shrinks them smoothly; pixel-doubling the coarse ones would jitter.
constexpr int WholeScale(double devicePixelRatio) {
    return devicePixelRatio > 1.0 ? 2 : 1;
}

} // namespace mirelo

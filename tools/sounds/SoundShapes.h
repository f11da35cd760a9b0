#pragma once

#include <cstdint>
#include <vector>

namespace mirelo::sounds {

inline constexpr int SampleRate = 8000;

// The three effects as 16-bit mono samples at 8000 Hz, the same on every run.
std::vector<std::int16_t> Selectil(); // 684 samples: a short rise, about 1 to 2 kHz
std::vector<std::int16_t> Enlever();  // 2961 samples: a fall, about 1 kHz to 650 Hz, fading
std::vector<std::int16_t> Impossib(); // 543 samples: a loud, buzzy tone near 1 kHz

} // namespace mirelo::sounds

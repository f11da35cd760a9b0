#include "Accompaniment.h"

#include <algorithm>

namespace mirelo::tunes {

namespace {

int RootNear(int pc, int low) {
    int k = low;
    while (((k - pc) % 12 + 12) % 12 != 0)
        ++k;
    return k;
}

} // namespace

void Arpeggio(Part& part, const std::vector<Bar>& bars, int start, int barTicks,
              const std::vector<int>& pattern, int step, int low, int high, int velocity,
              Rng& rng) {
    std::vector<int> previous;
    const int perBar = barTicks / step;
    for (std::size_t b = 0; b < bars.size(); ++b) {
        for (int i = 0; i < perBar; ++i) {
            const int offset = i * step;
            const Chord& chord = ChordAt(bars[b], offset, barTicks);
            std::vector<int> v = Voicing(chord, low, high, previous, 3);
            if (v.empty())
                continue;
            previous = v;
            v.push_back(v.front() + 12);
            const int index = pattern[static_cast<std::size_t>(i) % pattern.size()];
            const int accent = offset % (barTicks / 2) == 0 ? 10 : (offset % Q == 0 ? 4 : 0);
            part.Notes.push_back({start + static_cast<int>(b) * barTicks + offset, step * 3,
                                  v[static_cast<std::size_t>(index) % v.size()],
                                  velocity + accent + rng.Around(0, 3)});
        }
    }
}

void Pad(Part& part, const std::vector<Bar>& bars, int start, int barTicks, int low, int high,
         int voices, int velocity) {
    std::vector<int> previous;
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const int span = barTicks / static_cast<int>(bars[b].size());
        for (std::size_t c = 0; c < bars[b].size(); ++c) {
            const std::vector<int> v = Voicing(bars[b][c], low, high, previous, voices);
            previous = v;
            for (int key : v) {
                part.Notes.push_back(
                    {start + static_cast<int>(b) * barTicks + static_cast<int>(c) * span, span, key,
                     velocity});
            }
        }
    }
}

void Bass(Part& part, const std::vector<Bar>& bars, int start, int barTicks,
          const std::vector<BassHit>& hits, int low, int velocity, Rng& rng) {
    for (std::size_t b = 0; b < bars.size(); ++b) {
        for (const BassHit& hit : hits) {
            const Chord& chord = ChordAt(bars[b], hit.Offset, barTicks);
            const int root = RootNear(chord.Root, low);
            const int third = chord.Intervals.size() > 1 ? chord.Intervals[1] : 7;
            const int offsets[] = {0, 7, 12, third, -5};
            const int key = root + offsets[std::clamp(hit.Degree, 0, 4)];
            const int accent = hit.Offset == 0 ? 8 : 0;
            part.Notes.push_back({start + static_cast<int>(b) * barTicks + hit.Offset, hit.Length,
                                  key, velocity + accent + rng.Around(0, 3)});
        }
    }
}

void Strum(Part& part, const std::vector<Bar>& bars, int start, int barTicks,
           const std::vector<int>& offsets, int low, int high, int voices, int velocity, Rng& rng) {
    std::vector<int> previous;
    for (std::size_t b = 0; b < bars.size(); ++b) {
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            const int offset = offsets[i];
            const int next = i + 1 < offsets.size() ? offsets[i + 1] : barTicks;
            const Chord& chord = ChordAt(bars[b], offset, barTicks);
            const std::vector<int> v = Voicing(chord, low, high, previous, voices);
            previous = v;
            const int accent = offset == 0 ? 10 : (offset % Q == 0 ? 4 : 0);
            for (std::size_t n = 0; n < v.size(); ++n) {
                const int roll = static_cast<int>(n) * 12;
                part.Notes.push_back({start + static_cast<int>(b) * barTicks + offset + roll,
                                      std::max(E / 2, next - offset - roll), v[n],
                                      velocity + accent + rng.Around(0, 3)});
            }
        }
    }
}

void Drums(Part& part, int barCount, int start, int barTicks, const std::vector<DrumHit>& hits,
           Rng& rng) {
    for (int b = 0; b < barCount; ++b) {
        for (const DrumHit& hit : hits) {
            part.Notes.push_back({start + b * barTicks + hit.Offset, E / 2, hit.Key,
                                  hit.Velocity + rng.Around(0, 5)});
        }
    }
}

} // namespace mirelo::tunes

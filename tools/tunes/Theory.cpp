#include "Theory.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace mirelo::tunes {

std::uint32_t Rng::Next() {
    // splitmix64: tiny, well mixed, and the same everywhere.
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 16);
}

namespace {

int PcOf(int key) {
    return ((key % 12) + 12) % 12;
}

} // namespace

bool Chord::Contains(int key) const {
    const int rel = PcOf(key - Root);
    return std::find(Intervals.begin(), Intervals.end(), rel) != Intervals.end() ||
           std::find(Intervals.begin(), Intervals.end(), rel + 12) != Intervals.end();
}

std::vector<int> Chord::KeysIn(int low, int high) const {
    std::vector<int> keys;
    for (int k = low; k <= high; ++k) {
        if (Contains(k))
            keys.push_back(k);
    }
    return keys;
}

Chord Major(Pc root) {
    return {root, {0, 4, 7}};
}
Chord Minor(Pc root) {
    return {root, {0, 3, 7}};
}
Chord Seventh(Pc root) {
    return {root, {0, 4, 7, 10}};
}
Chord Sus2(Pc root) {
    return {root, {0, 2, 7}};
}
Chord Sus4(Pc root) {
    return {root, {0, 5, 7}};
}
Chord Fifth(Pc root) {
    return {root, {0, 7}};
}

const Chord& ChordAt(const Bar& bar, int offset, int barTicks) {
    const int n = static_cast<int>(bar.size());
    const int i = std::clamp(offset * n / barTicks, 0, n - 1);
    return bar[static_cast<std::size_t>(i)];
}

bool Scale::Contains(int key) const {
    const int rel = PcOf(key - Tonic);
    return std::find(Steps.begin(), Steps.end(), rel) != Steps.end();
}

int Scale::Up(int key) const {
    for (int k = key + 1; k < key + 13; ++k) {
        if (Contains(k))
            return k;
    }
    return key + 1;
}

int Scale::Down(int key) const {
    for (int k = key - 1; k > key - 13; --k) {
        if (Contains(k))
            return k;
    }
    return key - 1;
}

Scale Scale::Under(const Chord& chord) const {
    Scale s = *this;
    for (int interval : chord.Intervals) {
        const int rel = PcOf(chord.Root + interval - Tonic);
        if (std::find(s.Steps.begin(), s.Steps.end(), rel) != s.Steps.end())
            continue;
        // Mostly a raised note (the leading tone): it replaces the note a
        // semitone below; otherwise the one a semitone above.
        auto below = std::find(s.Steps.begin(), s.Steps.end(), PcOf(rel - 1));
        auto above = std::find(s.Steps.begin(), s.Steps.end(), PcOf(rel + 1));
        if (below != s.Steps.end())
            *below = rel;
        else if (above != s.Steps.end())
            *above = rel;
    }
    std::sort(s.Steps.begin(), s.Steps.end());
    return s;
}

Scale MajorScale(Pc tonic) {
    return {tonic, {0, 2, 4, 5, 7, 9, 11}};
}
Scale MinorScale(Pc tonic) {
    return {tonic, {0, 2, 3, 5, 7, 8, 10}};
}
Scale DorianScale(Pc tonic) {
    return {tonic, {0, 2, 3, 5, 7, 9, 10}};
}
Scale Pentatonic(Pc tonic) {
    return {tonic, {0, 2, 4, 7, 9}};
}

std::vector<int> Voicing(const Chord& chord, int low, int high, const std::vector<int>& previous,
                         int voices) {
    const std::vector<int> keys = chord.KeysIn(low, high);
    std::vector<int> best;
    int bestCost = std::numeric_limits<int>::max();
    // Every run of `voices` consecutive chord tones is a candidate voicing.
    for (std::size_t i = 0; i + static_cast<std::size_t>(voices) <= keys.size(); ++i) {
        std::vector<int> v(keys.begin() + static_cast<std::ptrdiff_t>(i),
                           keys.begin() + static_cast<std::ptrdiff_t>(i) + voices);
        int cost = 0;
        if (previous.size() == v.size()) {
            for (std::size_t j = 0; j < v.size(); ++j)
                cost += std::abs(v[j] - previous[j]);
        } else {
            // No previous chord: sit in the middle of the range.
            cost = std::abs(v.front() + v.back() - low - high);
        }
        if (cost < bestCost) {
            bestCost = cost;
            best = std::move(v);
        }
    }
    return best;
}

} // namespace mirelo::tunes

#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace mirelo::tunes {

// Pitch classes. A type of their own, so a note value (E is an eighth) can
// never be passed where a pitch class belongs.
enum Pc : int {
    C = 0,
    Cs = 1,
    D = 2,
    Eb = 3,
    Ee = 4,
    F = 5,
    Fs = 6,
    G = 7,
    Ab = 8,
    A = 9,
    Bb = 10,
    B = 11
};

// MIDI key of a pitch class in an octave (middle C is C in octave 4, key 60).
constexpr int Key(Pc pc, int octave) {
    return 12 * (octave + 1) + pc;
}

// A small generator of our own, so every run composes the same notes.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed ? seed : 0x9e3779b97f4a7c15ull) {}
    std::uint32_t Next();
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    // A value around `centre`, at most `spread` away.
    int Around(int centre, int spread) { return centre - spread + Below(2 * spread + 1); }

private:
    std::uint64_t state_;
};

struct Chord {
    int Root = C;
    std::vector<int> Intervals{0, 4, 7}; // semitones above the root

    bool Contains(int key) const;
    // Chord tones from `low` to `high`, ascending.
    std::vector<int> KeysIn(int low, int high) const;
};

Chord Major(Pc root);
Chord Minor(Pc root);
Chord Seventh(Pc root); // dominant seventh
Chord Sus2(Pc root);
Chord Sus4(Pc root);
Chord Fifth(Pc root); // open fifth

// One bar's harmony: one or more chords sharing the bar equally.
using Bar = std::vector<Chord>;
// The chord sounding `offset` ticks into a bar of `barTicks`.
const Chord& ChordAt(const Bar& bar, int offset, int barTicks);

// The notes a melody may use, as pitch classes within the octave from the tonic.
struct Scale {
    int Tonic = C;
    std::vector<int> Steps; // semitones above the tonic, ascending

    bool Contains(int key) const;
    // The scale's next key above or below `key`.
    int Up(int key) const;
    int Down(int key) const;
    // The scale made to agree with `chord`: a chord tone outside the scale
    // replaces the scale note a semitone away (the raised seventh of a minor
    // key under its major dominant, for one).
    Scale Under(const Chord& chord) const;
};

Scale MajorScale(Pc tonic);
Scale MinorScale(Pc tonic); // natural minor
Scale DorianScale(Pc tonic);
Scale Pentatonic(Pc tonic); // major pentatonic

// Chord tones voiced between `low` and `high` closest to `previous` (smallest
// total movement), so accompaniment moves smoothly from chord to chord.
std::vector<int> Voicing(const Chord& chord, int low, int high, const std::vector<int>& previous,
                         int voices);

} // namespace mirelo::tunes

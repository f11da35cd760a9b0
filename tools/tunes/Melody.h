#pragma once

#include "Song.h"
#include "Theory.h"

#include <vector>

namespace mirelo::tunes {

struct MelodyStyle {
    // Rhythms of one bar in ticks; a negative value is a rest.
    std::vector<std::vector<int>> Cells;
    // Rhythms for the last bar of a phrase: long notes that let it breathe.
    std::vector<std::vector<int>> EndCells;
    int Low = Key(C, 5);
    int High = Key(C, 6);
    // Notes starting on a multiple of this are chord tones; the rest move by step.
    int StrongTicks = H;
    int Velocity = 88;
    int LeapPercent = 18;
    // How much of each note's time it sounds, in percent.
    int Articulation = 95;
};

// A phrase over `bars`, starting near `startKey` and ending on pitch class
// `endPc`. Its line rises to a high point and falls back; strong beats sit on
// chord tones, the notes between walk the scale.
std::vector<Note> Phrase(const std::vector<Bar>& bars, int barTicks, const Scale& scale,
                         const MelodyStyle& style, int startKey, Pc endPc, Rng& rng);

// An eight-bar period: two four-bar phrases that begin alike, the first ending
// on `halfPc` (a question), the second on `finalPc` (the answer).
std::vector<Note> Period(const std::vector<Bar>& bars, int barTicks, const Scale& scale,
                         const MelodyStyle& style, int startKey, Pc halfPc, Pc finalPc, Rng& rng);

// `notes` moved by `ticks` and `semitones`, velocities scaled by `percent`.
std::vector<Note> Shifted(const std::vector<Note>& notes, int ticks, int semitones = 0,
                          int percent = 100);

} // namespace mirelo::tunes

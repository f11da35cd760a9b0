#pragma once

#include "Song.h"

#include <vector>

namespace mirelo::tunes {

// The four tunes of the Music menu. Each is composed from a fixed seed, so a
// run writes the same files every time. Each ends on its tonic at a bar line
// and begins with a soft lead-in, so the loop back to the start sounds meant.
Song Ferral();   // A minor, flute over a nylon guitar, 96 bpm
Song Gokuraku(); // a five-note scale on D, shakuhachi and koto, 66 bpm
Song Mirelo();   // F major, vibraphone and marimba with a light kit, 112 bpm
Song Gisors();   // D dorian dance in 3/4, recorder, lute and drone, 128 bpm

// Places notes at bar `bar` of a song with bars of `barTicks`.
inline void Place(Part& part, const std::vector<Note>& notes, int bar, int barTicks) {
    for (Note n : notes) {
        n.Start += bar * barTicks;
        part.Notes.push_back(n);
    }
}

} // namespace mirelo::tunes

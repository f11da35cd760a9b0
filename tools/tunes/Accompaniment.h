#pragma once

#include "Song.h"
#include "Theory.h"

#include <vector>

namespace mirelo::tunes {

// Each pattern writes the notes for `bars`, starting at tick `start`, into a part.

// Broken chords: `pattern` indexes a voicing of three chord tones plus the
// lowest an octave up; one note every `step` ticks, each left to ring.
void Arpeggio(Part& part, const std::vector<Bar>& bars, int start, int barTicks,
              const std::vector<int>& pattern, int step, int low, int high, int velocity, Rng& rng);

// Held chords, `voices` notes, one per chord of each bar, moving smoothly.
void Pad(Part& part, const std::vector<Bar>& bars, int start, int barTicks, int low, int high,
         int voices, int velocity);

struct BassHit {
    int Offset;
    int Length;
    int Degree; // 0 root, 1 fifth, 2 octave, 3 third, 4 fifth below
};
// The root of each chord near `low`, with its fifth and octave, on the given hits.
void Bass(Part& part, const std::vector<Bar>& bars, int start, int barTicks,
          const std::vector<BassHit>& hits, int low, int velocity, Rng& rng);

// Chords struck at `offsets` within the bar, the notes rolled a few ticks apart
// like a strummed or plucked chord; each rings until the next.
void Strum(Part& part, const std::vector<Bar>& bars, int start, int barTicks,
           const std::vector<int>& offsets, int low, int high, int voices, int velocity, Rng& rng);

struct DrumHit {
    int Offset;
    int Key; // General MIDI drum key
    int Velocity;
};
void Drums(Part& part, int barCount, int start, int barTicks, const std::vector<DrumHit>& hits,
           Rng& rng);

} // namespace mirelo::tunes

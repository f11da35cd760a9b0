#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirelo::tunes {

// Ticks per quarter note, and the note values the tunes are written in.
inline constexpr int Ppq = 480;
inline constexpr int S = Ppq / 4; // sixteenth
inline constexpr int E = Ppq / 2; // eighth
inline constexpr int Q = Ppq;     // quarter
inline constexpr int DQ = Q + E;  // dotted quarter
inline constexpr int H = 2 * Q;   // half
inline constexpr int DH = 3 * Q;  // dotted half
inline constexpr int W = 4 * Q;   // whole

struct Note {
    int Start = 0; // ticks from the start of the tune
    int Length = 0;
    int Key = 60;
    int Velocity = 80;
};

// One instrument on one MIDI channel (channel 9 is the drum kit).
struct Part {
    std::string Name;
    int Channel = 0;
    int Program = 0; // General MIDI, 0-based
    int Volume = 100;
    int Pan = 64;
    int Reverb = 40;
    int Chorus = 0;
    std::vector<Note> Notes;
};

struct Song {
    std::string Title;
    int Bpm = 100; // quarter notes per minute
    int BeatsPerBar = 4;
    int BeatUnit = 4;
    int LengthTicks = 0; // the end of the last bar: where a loop starts again
    std::vector<Part> Parts;
};

// The song as a Standard MIDI File, format 1: a tempo track, then one track per part.
std::vector<std::uint8_t> EncodeMidiFile(const Song& song);
bool WriteMidiFile(const Song& song, const std::string& path);

} // namespace mirelo::tunes

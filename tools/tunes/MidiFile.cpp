#include "Song.h"

#include <algorithm>
#include <fstream>

namespace mirelo::tunes {

namespace {

struct Event {
    int Tick;
    int Order; // set-up first, then note-offs, then note-ons at the same tick
    std::vector<std::uint8_t> Bytes;
};

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t bytes[5];
    int n = 0;
    bytes[n++] = static_cast<std::uint8_t>(v & 0x7f);
    while (v >>= 7)
        bytes[n++] = static_cast<std::uint8_t>((v & 0x7f) | 0x80);
    while (n > 0)
        out.push_back(bytes[--n]);
}

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutBe16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

std::vector<std::uint8_t> Meta(std::uint8_t type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out{0xff, type};
    PutVarLen(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> Text(const std::string& s) {
    return {s.begin(), s.end()};
}

std::uint8_t Clamp7(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 127));
}

void AppendTrack(std::vector<std::uint8_t>& file, std::vector<Event> events, int endTick) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
    });
    std::vector<std::uint8_t> body;
    int last = 0;
    for (const Event& e : events) {
        PutVarLen(body, static_cast<std::uint32_t>(e.Tick - last));
        body.insert(body.end(), e.Bytes.begin(), e.Bytes.end());
        last = e.Tick;
    }
    // The end of track sits on the bar line, so a loop keeps the beat.
    PutVarLen(body, static_cast<std::uint32_t>(std::max(0, endTick - last)));
    const auto end = Meta(0x2f, {});
    body.insert(body.end(), end.begin(), end.end());
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    PutBe32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
}

// A key struck again while it still sounds would have its new note cut by the
// old note's release; end the old note where the new one begins instead.
std::vector<Note> Untangled(std::vector<Note> notes) {
    std::stable_sort(notes.begin(), notes.end(),
                     [](const Note& a, const Note& b) { return a.Start < b.Start; });
    int sounding[128];
    std::fill(std::begin(sounding), std::end(sounding), -1);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        Note& n = notes[i];
        n.Key = std::clamp(n.Key, 0, 127);
        int& previous = sounding[n.Key];
        if (previous >= 0) {
            Note& old = notes[static_cast<std::size_t>(previous)];
            if (old.Start + old.Length > n.Start)
                old.Length = n.Start - old.Start;
        }
        previous = static_cast<int>(i);
    }
    return notes;
}

} // namespace

std::vector<std::uint8_t> EncodeMidiFile(const Song& song) {
    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd'};
    PutBe32(file, 6);
    PutBe16(file, 1);
    PutBe16(file, static_cast<std::uint16_t>(song.Parts.size() + 1));
    PutBe16(file, Ppq);

    const std::uint32_t tempo = 60000000u / static_cast<std::uint32_t>(song.Bpm);
    int unitLog = 0;
    while ((1 << unitLog) < song.BeatUnit)
        ++unitLog;
    // MIDI clocks per metronome click: a quarter is 24; compound metres click on dotted quarters.
    const std::uint8_t clocks = song.BeatUnit == 8 ? 36 : 24;
    std::vector<Event> conductor{
        {0, 0, Meta(0x03, Text(song.Title))},
        {0, 0,
         Meta(0x58, {static_cast<std::uint8_t>(song.BeatsPerBar),
                     static_cast<std::uint8_t>(unitLog), clocks, 8})},
        {0, 0,
         Meta(0x51, {static_cast<std::uint8_t>(tempo >> 16), static_cast<std::uint8_t>(tempo >> 8),
                     static_cast<std::uint8_t>(tempo)})},
    };
    AppendTrack(file, conductor, song.LengthTicks);

    for (const Part& part : song.Parts) {
        const auto ch = static_cast<std::uint8_t>(part.Channel & 0x0f);
        std::vector<Event> events{{0, 0, Meta(0x03, Text(part.Name))}};
        if (part.Channel != 9)
            events.push_back({0, 0, {static_cast<std::uint8_t>(0xc0 | ch), Clamp7(part.Program)}});
        auto control = [&](int number, int value) {
            events.push_back(
                {0, 0, {static_cast<std::uint8_t>(0xb0 | ch), Clamp7(number), Clamp7(value)}});
        };
        control(7, part.Volume);
        control(10, part.Pan);
        control(91, part.Reverb);
        control(93, part.Chorus);
        for (const Note& n : Untangled(part.Notes)) {
            const int end = std::min(n.Start + n.Length, song.LengthTicks);
            if (n.Start >= song.LengthTicks || end <= n.Start) // also drops cut-off unisons
                continue;
            events.push_back({n.Start,
                              2,
                              {static_cast<std::uint8_t>(0x90 | ch), Clamp7(n.Key),
                               Clamp7(std::max(1, n.Velocity))}});
            events.push_back({end, 1, {static_cast<std::uint8_t>(0x80 | ch), Clamp7(n.Key), 64}});
        }
        AppendTrack(file, std::move(events), song.LengthTicks);
    }
    return file;
}

bool WriteMidiFile(const Song& song, const std::string& path) {
    const std::vector<std::uint8_t> bytes = EncodeMidiFile(song);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace mirelo::tunes

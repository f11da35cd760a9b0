#include "Accompaniment.h"
#include "Melody.h"
#include "Tunes.h"

namespace mirelo::tunes {

Song Gisors() {
    Song song{"Gisors", 128, 3, 4, 0, {}};
    constexpr int BarTicks = DH;
    Rng rng(0x615025);
    // Dorian: a minor mode with a bright sixth, the sound of an old dance.
    const Scale scale = DorianScale(D);

    Part recorder{"Recorder", 0, 74, 110, 70, 50, 0, {}};
    Part lute{"Lute", 1, 24, 112, 50, 40, 0, {}};
    Part cello{"Drone", 2, 42, 74, 64, 60, 0, {}};
    Part harpsichord{"Harpsichord", 3, 6, 70, 90, 40, 0, {}};
    Part drum{"Tabor", 9, 0, 80, 64, 30, 0, {}};

    const std::vector<Bar> intro = {{Minor(D)}, {Major(C)}, {Minor(D)}, {Minor(A)}};
    const std::vector<Bar> a = {{Minor(D)}, {Major(C)}, {Minor(D)}, {Minor(A)},
                                {Minor(D)}, {Major(C)}, {Major(G)}, {Minor(D)}};
    const std::vector<Bar> b = {{Major(F)}, {Major(C)}, {Major(G)}, {Minor(D)},
                                {Major(F)}, {Major(C)}, {Minor(A)}, {Major(A)}};
    const std::vector<Bar> c = {{Major(G)}, {Major(C)}, {Major(F)}, {Minor(D)},
                                {Major(G)}, {Major(C)}, {Minor(A)}, {Major(A)}};
    const std::vector<Bar> outro = {{Minor(D)}, {Major(C)}, {Minor(A)}, {Minor(D)}};

    MelodyStyle style;
    style.Cells = {{Q, Q, Q}, {H, Q}, {DQ, E, Q}, {Q, E, E, Q}, {E, E, Q, Q}};
    style.EndCells = {{DH}, {H, -Q}};
    style.Low = Key(G, 4);
    style.High = Key(D, 6);
    style.StrongTicks = DH;
    style.Velocity = 86;
    style.Articulation = 85;
    const std::vector<Note> melodyA = Period(a, BarTicks, scale, style, Key(A, 4), Ee, D, rng);
    const std::vector<Note> melodyB = Period(b, BarTicks, scale, style, Key(C, 5), A, Ee, rng);
    const std::vector<Note> melodyC = Period(c, BarTicks, scale, style, Key(D, 5), D, Cs, rng);
    style.Cells = {{H, Q}, {DQ, E, Q}};
    const std::vector<Note> tail = Phrase(outro, BarTicks, scale, style, Key(A, 4), D, rng);

    const std::vector<int> pluck = {0, 1, 2};
    const std::vector<BassHit> drone = {{0, BarTicks, 0}, {0, BarTicks, 1}};
    const std::vector<DrumHit> step = {{0, 64, 70}, {0, 54, 48}, {Q, 63, 40}, {H, 63, 46}};
    const std::vector<DrumHit> soft = {{0, 64, 56}, {H, 63, 36}};

    int at = 0;
    auto band = [&](const std::vector<Bar>& bars, const std::vector<DrumHit>& beat) {
        Arpeggio(lute, bars, at * BarTicks, BarTicks, pluck, Q, Key(A, 3), Key(F, 5), 62, rng);
        Bass(cello, bars, at * BarTicks, BarTicks, drone, Key(D, 2), 58, rng);
        Drums(drum, static_cast<int>(bars.size()), at * BarTicks, BarTicks, beat, rng);
    };

    band(intro, soft);
    at += 4;
    band(a, step);
    Place(recorder, melodyA, at, BarTicks);
    at += 8;
    band(a, step);
    Place(recorder, melodyA, at, BarTicks);
    Arpeggio(harpsichord, a, at * BarTicks, BarTicks, {0, 2, 1, 3, 2, 1}, E, Key(D, 4), Key(D, 5),
             46, rng);
    at += 8;
    band(b, step);
    Place(recorder, melodyB, at, BarTicks);
    at += 8;
    band(a, step);
    Place(recorder, melodyA, at, BarTicks);
    at += 8;
    band(c, soft);
    Place(harpsichord, Shifted(melodyC, 0, -12, 90), at, BarTicks);
    at += 8;
    band(b, step);
    Place(recorder, melodyB, at, BarTicks);
    Arpeggio(harpsichord, b, at * BarTicks, BarTicks, {0, 2, 1, 3, 2, 1}, E, Key(D, 4), Key(D, 5),
             46, rng);
    at += 8;
    band(a, step);
    Place(recorder, melodyA, at, BarTicks);
    at += 8;
    band(outro, soft);
    Place(recorder, Shifted(tail, 0, 0, 85), at, BarTicks);
    at += 4;

    song.LengthTicks = at * BarTicks;
    song.Parts = {recorder, lute, cello, harpsichord, drum};
    return song;
}

} // namespace mirelo::tunes

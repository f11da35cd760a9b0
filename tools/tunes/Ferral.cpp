#include "Accompaniment.h"
#include "Melody.h"
#include "Tunes.h"

namespace mirelo::tunes {

Song Ferral() {
    Song song{"Ferral", 96, 4, 4, 0, {}};
    constexpr int BarTicks = W;
    Rng rng(0xFE22A1);
    const Scale scale = MinorScale(A);

    Part flute{"Flute", 0, 73, 92, 74, 60, 10, {}};
    Part guitar{"Nylon guitar", 1, 24, 100, 50, 45, 0, {}};
    Part strings{"Strings", 2, 48, 72, 84, 70, 0, {}};
    Part bass{"Bass", 3, 32, 100, 64, 25, 0, {}};

    const std::vector<Bar> intro = {{Minor(A)}, {Major(F)}, {Minor(D)}, {Major(Ee)}};
    const std::vector<Bar> a = {{Minor(A)},
                                {Major(F)},
                                {Major(C)},
                                {Major(G)},
                                {Minor(A)},
                                {Major(F)},
                                {Minor(D), Major(Ee)},
                                {Minor(A)}};
    const std::vector<Bar> b = {{Major(F)}, {Major(G)}, {Minor(Ee)}, {Minor(A)},
                                {Minor(D)}, {Major(G)}, {Major(C)},  {Seventh(Ee)}};
    const std::vector<Bar> outro = {{Minor(A)}, {Major(F)}, {Major(Ee)}, {Minor(A)}};

    MelodyStyle style;
    style.Cells = {{Q, Q, Q, Q}, {DQ, E, Q, Q},   {Q, E, E, H},
                   {H, Q, Q},    {E, E, Q, Q, Q}, {DQ, E, H}};
    style.EndCells = {{H, H}, {DH, -Q}, {W}};
    style.Low = Key(Ee, 4);
    style.High = Key(A, 5);
    style.Velocity = 84;
    style.Articulation = 92;
    const std::vector<Note> melodyA = Period(a, BarTicks, scale, style, Key(A, 4), B, A, rng);
    const std::vector<Note> melodyB = Period(b, BarTicks, scale, style, Key(C, 5), C, B, rng);
    style.Cells = {{H, H}, {DH, Q}};
    style.EndCells = {{W}};
    const std::vector<Note> tail = Phrase(outro, BarTicks, scale, style, Key(Ee, 5), A, rng);

    const std::vector<int> arp = {0, 2, 1, 2, 3, 2, 1, 2};
    const std::vector<int> arpB = {0, 1, 2, 3, 2, 3, 1, 2};
    const std::vector<BassHit> walk = {{0, H - 30, 0}, {H, Q, 1}, {H + Q, Q, 2}};
    const std::vector<BassHit> calm = {{0, W - 30, 0}};

    int at = 0;
    auto section = [&](const std::vector<Bar>& bars, const std::vector<int>& pattern,
                       const std::vector<BassHit>& hits, int guitarVelocity) {
        Arpeggio(guitar, bars, at * BarTicks, BarTicks, pattern, E, Key(G, 3), Key(Ee, 5),
                 guitarVelocity, rng);
        Bass(bass, bars, at * BarTicks, BarTicks, hits, Key(Ee, 2), 78, rng);
    };

    section(intro, arp, calm, 58);
    at += 4;
    section(a, arp, walk, 62);
    Place(flute, melodyA, at, BarTicks);
    at += 8;
    section(a, arp, walk, 64);
    Place(flute, melodyA, at, BarTicks);
    Pad(strings, a, at * BarTicks, BarTicks, Key(A, 3), Key(Ee, 5), 3, 46);
    at += 8;
    section(b, arpB, walk, 66);
    Place(flute, melodyB, at, BarTicks);
    Pad(strings, b, at * BarTicks, BarTicks, Key(A, 3), Key(Ee, 5), 3, 52);
    at += 8;
    section(a, arp, walk, 64);
    Place(flute, melodyA, at, BarTicks);
    // The last time round the strings sing the tune an octave below the flute.
    Place(strings, Shifted(melodyA, 0, -12, 70), at, BarTicks);
    at += 8;
    Arpeggio(guitar, outro, at * BarTicks, BarTicks, {0, 2, 1, 3}, Q, Key(G, 3), Key(Ee, 5), 56,
             rng);
    Bass(bass, outro, at * BarTicks, BarTicks, calm, Key(Ee, 2), 70, rng);
    Place(flute, Shifted(tail, 0, 0, 85), at, BarTicks);
    at += 4;

    song.LengthTicks = at * BarTicks;
    song.Parts = {flute, guitar, strings, bass};
    return song;
}

} // namespace mirelo::tunes

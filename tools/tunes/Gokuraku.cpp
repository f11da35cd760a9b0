#include "Accompaniment.h"
#include "Melody.h"
#include "Tunes.h"

namespace mirelo::tunes {

Song Gokuraku() {
    Song song{"Gokuraku", 66, 4, 4, 0, {}};
    constexpr int BarTicks = W;
    Rng rng(0x60C0AA);
    // Five notes, D E G A B: no semitone anywhere, so every pair of notes rings well.
    const Scale scale{D, {0, 2, 5, 7, 9}};

    Part flute{"Shakuhachi", 0, 77, 112, 70, 80, 0, {}};
    Part koto{"Koto", 1, 107, 116, 54, 60, 0, {}};
    Part pad{"Pad", 2, 88, 72, 64, 90, 30, {}};
    Part drum{"Taiko", 3, 116, 84, 64, 50, 0, {}};

    const std::vector<Bar> intro = {{Sus2(D)}, {Sus4(D)}, {Sus2(G)}, {Sus4(A)}};
    const std::vector<Bar> a = {{Sus2(D)}, {Sus4(D)}, {Sus2(G)},  {Sus4(A)},
                                {Sus2(D)}, {Sus4(D)}, {Sus4(Ee)}, {Sus2(D)}};
    const std::vector<Bar> b = {{Sus2(G)}, {Sus2(A)}, {Sus4(Ee)}, {Sus2(D)},
                                {Sus2(G)}, {Sus4(A)}, {Sus4(Ee)}, {Sus4(A)}};
    const std::vector<Bar> outro = {{Sus2(D)}, {Sus2(G)}, {Sus4(A)}, {Sus2(D)}};

    MelodyStyle style;
    style.Cells = {{H, Q, Q}, {DQ, E, H}, {Q, Q, H}, {H, H}, {DQ, E, Q, Q}, {W}};
    style.EndCells = {{W}, {DH, -Q}};
    style.Low = Key(D, 4);
    style.High = Key(A, 5);
    style.LeapPercent = 12;
    style.Velocity = 80;
    style.Articulation = 98;
    const std::vector<Note> melodyA = Period(a, BarTicks, scale, style, Key(A, 4), Ee, D, rng);
    // The middle section's tune is the koto's, plucked and a little higher.
    MelodyStyle plucked = style;
    plucked.Cells = {{Q, Q, Q, Q}, {DQ, E, Q, Q}, {Q, E, E, H}, {E, E, Q, H}};
    plucked.EndCells = {{H, H}, {W}};
    plucked.Low = Key(A, 4);
    plucked.High = Key(D, 6);
    plucked.LeapPercent = 20;
    plucked.Articulation = 100;
    plucked.Velocity = 86;
    const std::vector<Note> melodyB = Period(b, BarTicks, scale, plucked, Key(D, 5), A, Ee, rng);
    style.Cells = {{W}, {H, H}};
    const std::vector<Note> tail = Phrase(outro, BarTicks, scale, style, Key(A, 4), D, rng);

    // Koto runs up and down its strings, one note every eighth.
    const std::vector<int> run = {0, 1, 2, 3, 2, 1, 2, 3};
    const std::vector<BassHit> boom = {{0, H, 0}};
    const std::vector<BassHit> boomBoom = {{0, H, 0}, {H + Q, Q, 0}};

    int at = 0;
    Arpeggio(koto, intro, 0, BarTicks, run, E, Key(D, 4), Key(D, 5), 54, rng);
    Bass(drum, intro, 0, BarTicks, boom, Key(D, 2), 50, rng);
    at += 4;
    for (int round = 0; round < 2; ++round) {
        Arpeggio(koto, a, at * BarTicks, BarTicks, run, E, Key(D, 4), Key(D, 5), 56, rng);
        Pad(pad, a, at * BarTicks, BarTicks, Key(D, 3), Key(A, 4), 3, 50);
        Bass(drum, a, at * BarTicks, BarTicks, round == 0 ? boom : boomBoom, Key(D, 2), 56, rng);
        Place(flute, melodyA, at, BarTicks);
        at += 8;
        if (round == 1)
            break;
        Arpeggio(koto, b, at * BarTicks, BarTicks, {0, 2, 1, 3}, Q, Key(D, 3), Key(A, 4), 50, rng);
        Pad(pad, b, at * BarTicks, BarTicks, Key(D, 3), Key(A, 4), 3, 56);
        Bass(drum, b, at * BarTicks, BarTicks, boomBoom, Key(D, 2), 60, rng);
        Place(koto, melodyB, at, BarTicks);
        at += 8;
    }
    Arpeggio(koto, outro, at * BarTicks, BarTicks, run, E, Key(D, 4), Key(D, 5), 50, rng);
    Pad(pad, outro, at * BarTicks, BarTicks, Key(D, 3), Key(A, 4), 3, 44);
    Place(flute, Shifted(tail, 0, 0, 85), at, BarTicks);
    at += 4;

    song.LengthTicks = at * BarTicks;
    song.Parts = {flute, koto, pad, drum};
    return song;
}

} // namespace mirelo::tunes

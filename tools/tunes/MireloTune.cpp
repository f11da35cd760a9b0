#include "Accompaniment.h"
#include "Melody.h"
#include "Tunes.h"

namespace mirelo::tunes {

Song Mirelo() {
    Song song{"Mirelo", 112, 4, 4, 0, {}};
    constexpr int BarTicks = W;
    Rng rng(0x313E10);
    const Scale scale = MajorScale(F);

    Part vibes{"Vibraphone", 0, 11, 100, 70, 55, 10, {}};
    Part marimba{"Marimba", 1, 12, 104, 58, 40, 0, {}};
    Part guitar{"Steel guitar", 2, 25, 80, 44, 40, 20, {}};
    Part bass{"Bass", 3, 33, 100, 64, 20, 0, {}};
    Part pad{"Warm pad", 4, 89, 60, 80, 80, 20, {}};
    Part kit{"Drums", 9, 0, 84, 64, 35, 0, {}};

    const std::vector<Bar> intro = {{Major(F)}, {Major(Bb)}, {Major(F)}, {Major(C)}};
    const std::vector<Bar> a = {{Major(F)},
                                {Major(C)},
                                {Minor(D)},
                                {Major(Bb)},
                                {Major(F)},
                                {Major(C)},
                                {Major(Bb), Major(C)},
                                {Major(F)}};
    const std::vector<Bar> b = {{Major(Bb)}, {Major(C)}, {Minor(A)}, {Minor(D)},
                                {Minor(G)},  {Major(C)}, {Major(F)}, {Seventh(C)}};
    const std::vector<Bar> c = {{Minor(D)}, {Major(Bb)}, {Major(F)}, {Major(C)},
                                {Minor(D)}, {Major(Bb)}, {Minor(G)}, {Seventh(C)}};
    const std::vector<Bar> outro = {{Major(F)}, {Major(Bb)}, {Major(C)}, {Major(F)}};

    MelodyStyle style;
    style.Cells = {{Q, Q, Q, Q},  {E, E, Q, Q, Q}, {Q, E, E, Q, Q},
                   {DQ, E, Q, Q}, {Q, Q, H},       {E, E, E, E, Q, Q}};
    style.EndCells = {{H, H}, {DH, -Q}, {Q, Q, H}};
    style.Low = Key(F, 4);
    style.High = Key(C, 6);
    style.Velocity = 88;
    style.Articulation = 85;
    const std::vector<Note> melodyA = Period(a, BarTicks, scale, style, Key(C, 5), D, F, rng);
    const std::vector<Note> melodyB = Period(b, BarTicks, scale, style, Key(F, 5), A, G, rng);
    style.Cells = {{H, Q, Q}, {DQ, E, H}, {Q, Q, H}, {H, H}};
    const std::vector<Note> melodyC = Period(c, BarTicks, scale, style, Key(D, 5), C, G, rng);
    style.Cells = {{H, H}, {Q, Q, H}};
    style.EndCells = {{W}};
    const std::vector<Note> tail = Phrase(outro, BarTicks, scale, style, Key(A, 4), F, rng);

    const std::vector<int> strum = {0, Q, Q + E, H + E, H + Q, H + Q + E};
    const std::vector<BassHit> drive = {
        {0, Q + E - 20, 0}, {Q + E, E, 0}, {H, Q, 1}, {H + Q, Q, 2}};
    const std::vector<DrumHit> groove = {{0, 36, 66},     {H, 36, 60},     {Q, 37, 58},
                                         {H + Q, 37, 58}, {0, 42, 46},     {E, 42, 34},
                                         {Q, 42, 42},     {Q + E, 42, 34}, {H, 42, 46},
                                         {H + E, 42, 34}, {H + Q, 42, 42}, {H + Q + E, 44, 36}};
    const std::vector<DrumHit> light = {{0, 36, 56}, {Q, 42, 36}, {H, 42, 40}, {H + Q, 37, 48}};

    int at = 0;
    auto band = [&](const std::vector<Bar>& bars, const std::vector<DrumHit>& drums, int level) {
        Strum(guitar, bars, at * BarTicks, BarTicks, strum, Key(C, 4), Key(A, 5), 4, level, rng);
        Bass(bass, bars, at * BarTicks, BarTicks, drive, Key(F, 2), 76, rng);
        Drums(kit, static_cast<int>(bars.size()), at * BarTicks, BarTicks, drums, rng);
    };

    band(intro, light, 56);
    at += 4;
    band(a, groove, 60);
    Place(vibes, melodyA, at, BarTicks);
    at += 8;
    band(a, groove, 62);
    Place(vibes, melodyA, at, BarTicks);
    Place(marimba, Shifted(melodyA, 0, -12, 70), at, BarTicks);
    at += 8;
    band(b, groove, 62);
    Place(marimba, melodyB, at, BarTicks);
    at += 8;
    band(a, groove, 62);
    Place(vibes, melodyA, at, BarTicks);
    at += 8;
    band(c, light, 54);
    Pad(pad, c, at * BarTicks, BarTicks, Key(F, 3), Key(D, 5), 3, 60);
    Place(vibes, melodyC, at, BarTicks);
    at += 8;
    band(a, groove, 64);
    Place(vibes, melodyA, at, BarTicks);
    Place(marimba, Shifted(melodyA, 0, -12, 70), at, BarTicks);
    at += 8;
    band(outro, light, 54);
    Place(vibes, tail, at, BarTicks);
    at += 4;

    song.LengthTicks = at * BarTicks;
    song.Parts = {vibes, marimba, guitar, bass, pad, kit};
    return song;
}

} // namespace mirelo::tunes

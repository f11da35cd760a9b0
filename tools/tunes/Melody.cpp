#include "Melody.h"

#include <algorithm>
#include <cstdlib>

namespace mirelo::tunes {

namespace {

int Nearest(int pc, int around, int low, int high) {
    int best = -1;
    for (int k = low; k <= high; ++k) {
        if (((k - pc) % 12 + 12) % 12 != 0)
            continue;
        if (best < 0 || std::abs(k - around) < std::abs(best - around))
            best = k;
    }
    return best < 0 ? around : best;
}

// A chord tone near `cur`, leaning the way the line is going.
int ChordTone(const Chord& chord, int cur, int dir, const MelodyStyle& style, Rng& rng) {
    const std::vector<int> keys =
        chord.KeysIn(std::max(style.Low, cur - 7), std::min(style.High, cur + 7));
    if (keys.empty())
        return std::clamp(cur, style.Low, style.High);
    int best = keys.front();
    int bestScore = 1 << 30;
    for (int k : keys) {
        int score = std::abs(k - cur) + rng.Below(4);
        if ((k - cur) * dir < 0)
            score += 4;
        if (k == cur)
            score += 3;
        if (score < bestScore) {
            bestScore = score;
            best = k;
        }
    }
    return best;
}

int Step(const Scale& scale, int cur, int dir) {
    return dir > 0 ? scale.Up(cur) : scale.Down(cur);
}

} // namespace

std::vector<Note> Phrase(const std::vector<Bar>& bars, int barTicks, const Scale& scale,
                         const MelodyStyle& style, int startKey, Pc endPc, Rng& rng) {
    std::vector<Note> notes;
    const int total = static_cast<int>(bars.size()) * barTicks;
    const int apex = total * (40 + rng.Below(26)) / 100;
    int cur = std::clamp(startKey, style.Low, style.High);
    // The line heads for a high point and then for the closing note; each note
    // steps toward where the line should be by then.
    const int first = cur;
    const int peak = std::min(style.High, first + 7 + rng.Below(6));
    const int home = Nearest(endPc, first, style.Low, style.High);
    auto target = [&](int t) {
        return t < apex ? first + (peak - first) * t / std::max(1, apex)
                        : peak + (home - peak) * (t - apex) / std::max(1, total - apex);
    };
    int repeats = 0;
    int heading = peak > first ? 1 : -1;
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const bool lastBar = b + 1 == bars.size();
        const auto& cells = lastBar ? style.EndCells : style.Cells;
        const std::vector<int>& cell =
            cells[static_cast<std::size_t>(rng.Below(static_cast<int>(cells.size())))];
        int lastNote = -1;
        for (std::size_t i = 0; i < cell.size(); ++i) {
            if (cell[i] > 0)
                lastNote = static_cast<int>(i);
        }
        int pos = 0;
        for (std::size_t i = 0; i < cell.size(); ++i) {
            const int dur = cell[i];
            if (dur < 0) {
                pos -= dur;
                continue;
            }
            const int t = static_cast<int>(b) * barTicks + pos;
            const Chord& chord = ChordAt(bars[b], pos, barTicks);
            const Scale local = scale.Under(chord);
            const int goal = std::clamp(target(t), style.Low, style.High);
            // Keep going the same way unless the line is clearly elsewhere.
            if (goal - cur > 1)
                heading = 1;
            else if (cur - goal > 1)
                heading = -1;
            int dir = heading;
            int key;
            const bool closing = lastBar && static_cast<int>(i) == lastNote;
            if (closing) {
                key = Nearest(endPc, cur, style.Low, style.High);
            } else if (pos % style.StrongTicks == 0) {
                key = ChordTone(chord, cur, dir, style, rng);
            } else {
                // Now and then a turn against the line, a leap, or a repeated note.
                if (rng.Chance(12))
                    dir = -dir;
                if (rng.Chance(style.LeapPercent))
                    key = Step(local, Step(local, cur, dir), dir);
                else if (repeats == 0 && rng.Chance(8))
                    key = cur;
                else
                    key = Step(local, cur, dir);
                if (key > style.High || key < style.Low)
                    key = Step(local, cur, -dir);
            }
            // No note sounds more than twice in a row.
            if (!closing && key == cur && ++repeats >= 2) {
                key = Step(local, cur, dir);
                if (key > style.High || key < style.Low)
                    key = Step(local, cur, -dir);
                repeats = 0;
            } else if (key != cur) {
                repeats = 0;
            }
            const int accent = pos % style.StrongTicks == 0 ? 8 : 0;
            const int swell = 6 - std::abs(t - apex) * 12 / std::max(1, total);
            notes.push_back({t, std::max(1, dur * style.Articulation / 100), key,
                             style.Velocity + accent + swell + rng.Around(0, 4)});
            cur = key;
            pos += dur;
        }
    }
    return notes;
}

std::vector<Note> Period(const std::vector<Bar>& bars, int barTicks, const Scale& scale,
                         const MelodyStyle& style, int startKey, Pc halfPc, Pc finalPc, Rng& rng) {
    const std::vector<Bar> first(bars.begin(), bars.begin() + 4);
    std::vector<Note> notes = Phrase(first, barTicks, scale, style, startKey, halfPc, rng);
    const bool sameOpening = bars[0].size() == bars[4].size() && bars[1].size() == bars[5].size() &&
                             bars[0][0].Root == bars[4][0].Root &&
                             bars[1][0].Root == bars[5][0].Root;
    if (!sameOpening) {
        const std::vector<Bar> second(bars.begin() + 4, bars.end());
        const std::vector<Note> answer =
            Phrase(second, barTicks, scale, style, notes.front().Key, finalPc, rng);
        const std::vector<Note> moved = Shifted(answer, 4 * barTicks);
        notes.insert(notes.end(), moved.begin(), moved.end());
        return notes;
    }
    // The answer opens with the question's first two bars, then finds its own way home.
    std::vector<Note> opening;
    for (const Note& n : notes) {
        if (n.Start < 2 * barTicks)
            opening.push_back(n);
    }
    const std::vector<Note> echo = Shifted(opening, 4 * barTicks);
    const std::vector<Bar> close(bars.begin() + 6, bars.end());
    const std::vector<Note> ending =
        Phrase(close, barTicks, scale, style, echo.back().Key, finalPc, rng);
    const std::vector<Note> moved = Shifted(ending, 6 * barTicks);
    notes.insert(notes.end(), echo.begin(), echo.end());
    notes.insert(notes.end(), moved.begin(), moved.end());
    return notes;
}

std::vector<Note> Shifted(const std::vector<Note>& notes, int ticks, int semitones, int percent) {
    std::vector<Note> out = notes;
    for (Note& n : out) {
        n.Start += ticks;
        n.Key += semitones;
        n.Velocity = n.Velocity * percent / 100;
    }
    return out;
}

} // namespace mirelo::tunes

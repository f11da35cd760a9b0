// mirelo_solve: deals seeded boards with the game's own generator, solves each
// and prints per layout how many can be cleared and what the proofs cost.
//
//   mirelo_solve LAYOUT N [options]
//     LAYOUT        traditional, dragon, bighole, theater, beatle, 1..5 or all
//     N             deals with seeds first..first+N-1 (default 1000)
//   options
//     --first-seed S      first seed (default 1)
//     --budget-ms MS      time budget per deal (default 10000)
//     --positions P       position budget per deal (default none)
//     --slow-ms MS        count winnable deals slower than this (default 200)
//     --without T         switch a technique off: forced, memo, ordering, pairing,
//                         order, relaxation,
//                         shaving
//     --log FILE          one line per deal: layout seed result ms positions cpu-ms
//     --winnable-deal     time "Deal only winnable boards" instead: DealWinnable
//                         from each seed, with --try-ms (200) and --total-ms (2000)

#include "Game.h"
#include "LayoutTemplate.h"
#include "Solver.h"
#include "WinnableDeal.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <time.h>
#include <vector>

namespace mirelo {
namespace {

// CPU time of this thread: on a shared machine the wall clock also counts the
// time other programs held the CPU.
double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

const char* const LayoutNames[] = {"", "Traditional", "Dragon", "Big Hole", "Theater", "Beatle"};

struct Options {
    std::vector<int> Layouts;
    int Count = 1000;
    std::uint32_t FirstSeed = 1;
    SolveBudget Budget{0, 10000};
    double SlowMilliseconds = 200;
    SolverTechniques Techniques;
    std::string LogPath;
    bool WinnableDeal = false;
    WinnableDealBudget DealBudget;
};

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr, "mirelo_solve: %s\n", why);
    std::fprintf(stderr, "usage: mirelo_solve LAYOUT [N] [--first-seed S] [--budget-ms MS] "
                         "[--positions P] [--slow-ms MS] [--without "
                         "forced|memo|ordering|pairing|order|relaxation|shaving] "
                         "[--log FILE] [--winnable-deal [--try-ms MS] [--total-ms MS]]\n");
    std::exit(2);
}

std::vector<int> ParseLayouts(const std::string& name) {
    const char* const keys[] = {"", "traditional", "dragon", "bighole", "theater", "beatle"};
    if (name == "all")
        return {1, 2, 3, 4, 5};
    for (int n = 1; n <= LayoutCount; ++n)
        if (name == keys[n] || name == std::to_string(n))
            return {n};
    Usage("unknown layout");
}

double Number(const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || value < 0)
        Usage("expected a non-negative number");
    return value;
}

// A whole number from 0 to `max`; a longer one is named too large rather than
// read as whatever it wraps to.
std::uint64_t WholeNumber(const char* text, std::uint64_t max, const char* what) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0' || !std::isdigit(static_cast<unsigned char>(text[0])))
        Usage((std::string(what) + " must be a whole number").c_str());
    if (errno == ERANGE || value > max)
        Usage((std::string(what) + " is too large (at most " + std::to_string(max) + ")").c_str());
    return value;
}

Options Parse(int argc, char** argv) {
    Options o;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&]() -> const char* {
            if (i + 1 >= argc)
                Usage("missing value");
            return argv[++i];
        };
        if (arg == "--first-seed")
            o.FirstSeed = static_cast<std::uint32_t>(WholeNumber(next(), UINT32_MAX, "S"));
        else if (arg == "--budget-ms")
            o.Budget.MaxMilliseconds = Number(next());
        else if (arg == "--positions")
            o.Budget.MaxPositions = WholeNumber(next(), UINT64_MAX, "P");
        else if (arg == "--slow-ms")
            o.SlowMilliseconds = Number(next());
        else if (arg == "--log")
            o.LogPath = next();
        else if (arg == "--winnable-deal")
            o.WinnableDeal = true;
        else if (arg == "--try-ms")
            o.DealBudget.PerTry.MaxMilliseconds = Number(next());
        else if (arg == "--total-ms")
            o.DealBudget.TotalMilliseconds = Number(next());
        else if (arg == "--without") {
            const std::string t = next();
            if (t == "forced")
                o.Techniques.ForcedMoves = false;
            else if (t == "memo")
                o.Techniques.Memo = false;
            else if (t == "ordering")
                o.Techniques.Ordering = false;
            else if (t == "pairing")
                o.Techniques.Pairing = false;
            else if (t == "order")
                o.Techniques.Order = false;
            else if (t == "relaxation")
                o.Techniques.Relaxation = false;
            else if (t == "shaving")
                o.Techniques.Shaving = false;
            else
                Usage("unknown technique");
        } else if (positional == 0 && arg[0] != '-') {
            o.Layouts = ParseLayouts(arg);
            ++positional;
        } else if (positional == 1 && arg[0] != '-') {
            o.Count = static_cast<int>(WholeNumber(arg.c_str(), INT_MAX, "N"));
            ++positional;
        } else {
            Usage("unexpected argument");
        }
    }
    if (o.Layouts.empty())
        Usage("no layout given");
    if (o.Count < 1)
        Usage("N must be at least 1");
    return o;
}

// Nearest-rank percentile of sorted values.
template <typename T> T Percentile(const std::vector<T>& sorted, double p) {
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * sorted.size()));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

template <typename T> double Mean(const std::vector<T>& values) {
    double sum = 0;
    for (T v : values)
        sum += static_cast<double>(v);
    return values.empty() ? 0 : sum / values.size();
}

const char* ResultName(SolveResult r) {
    switch (r) {
    case SolveResult::Winnable:
        return "winnable";
    case SolveResult::Hopeless:
        return "hopeless";
    case SolveResult::Unknown:
        break;
    }
    return "unknown";
}

void SolveLayout(const Options& o, int layout, std::FILE* log) {
    std::vector<double> times, cpu;
    std::vector<std::uint64_t> positions;
    int winnable = 0, hopeless = 0, unknown = 0, slowWinnable = 0;
    Game game;
    for (int k = 0; k < o.Count; ++k) {
        const std::uint32_t seed = o.FirstSeed + static_cast<std::uint32_t>(k);
        game.BeginGame(layout, seed, 0);
        const double cpuStart = CpuMilliseconds();
        const SolveOutcome out = SolveWith(game.Grid, game.Places, o.Budget, o.Techniques);
        cpu.push_back(CpuMilliseconds() - cpuStart);
        times.push_back(out.Milliseconds);
        positions.push_back(out.Positions);
        winnable += out.Result == SolveResult::Winnable;
        hopeless += out.Result == SolveResult::Hopeless;
        unknown += out.Result == SolveResult::Unknown;
        slowWinnable +=
            out.Result == SolveResult::Winnable && out.Milliseconds > o.SlowMilliseconds;
        if (log)
            std::fprintf(log, "%d %u %s %.3f %llu %.3f\n", layout, seed, ResultName(out.Result),
                         out.Milliseconds, static_cast<unsigned long long>(out.Positions),
                         cpu.back());
        if ((k + 1) % 500 == 0)
            std::fprintf(stderr, "  %s: %d/%d\n", LayoutNames[layout], k + 1, o.Count);
    }
    const double n = o.Count;
    const double meanTime = Mean(times);
    const double meanCpu = Mean(cpu);
    const double meanPositions = Mean(positions);
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    std::sort(positions.begin(), positions.end());
    std::printf("%s: %d deals (seeds %u..%u), budget %.0f ms\n", LayoutNames[layout], o.Count,
                o.FirstSeed, o.FirstSeed + static_cast<std::uint32_t>(o.Count - 1),
                o.Budget.MaxMilliseconds);
    std::printf("  winnable %.2f %%  hopeless %.2f %%  unknown %d (%.2f %%)\n", 100 * winnable / n,
                100 * hopeless / n, unknown, 100 * unknown / n);
    std::printf("  time ms    median %.3f  mean %.3f  p99 %.3f  max %.3f\n", Percentile(times, 50),
                meanTime, Percentile(times, 99), times.back());
    std::printf("  cpu ms     median %.3f  mean %.3f  p99 %.3f  max %.3f\n", Percentile(cpu, 50),
                meanCpu, Percentile(cpu, 99), cpu.back());
    std::printf("  positions  median %llu  mean %.0f  p99 %llu  max %llu\n",
                static_cast<unsigned long long>(Percentile(positions, 50)), meanPositions,
                static_cast<unsigned long long>(Percentile(positions, 99)),
                static_cast<unsigned long long>(positions.back()));
    std::printf("  winnable but slower than %.0f ms: %d (%.2f %% of deals, %.2f %% of winnable)\n",
                o.SlowMilliseconds, slowWinnable, 100 * slowWinnable / n,
                winnable ? 100.0 * slowWinnable / winnable : 0.0);
    std::fflush(stdout);
}

void DealLayout(const Options& o, int layout) {
    std::vector<double> times;
    std::vector<int> tries;
    int unproved = 0, failed = 0;
    Game game;
    for (int k = 0; k < o.Count; ++k) {
        const std::uint32_t seed = o.FirstSeed + static_cast<std::uint32_t>(k);
        const WinnableDealResult r = DealWinnable(game, layout, seed, 0, o.DealBudget);
        times.push_back(r.Milliseconds);
        tries.push_back(r.Tries);
        unproved += r.Unproved;
        failed += !r.Proved;
    }
    const double totalTries = Mean(tries) * o.Count;
    const double meanTime = Mean(times);
    const double meanTries = Mean(tries);
    std::sort(times.begin(), times.end());
    std::sort(tries.begin(), tries.end());
    std::printf("%s: %d winnable deals, %.0f ms a try, %.0f ms in all\n", LayoutNames[layout],
                o.Count, o.DealBudget.PerTry.MaxMilliseconds, o.DealBudget.TotalMilliseconds);
    std::printf("  tries      mean %.2f  max %d; passed over unproved: %d (%.2f %% of tries)\n",
                meanTries, tries.back(), unproved, 100 * unproved / totalTries);
    std::printf("  time ms    median %.3f  mean %.3f  p99 %.3f  max %.3f\n", Percentile(times, 50),
                meanTime, Percentile(times, 99), times.back());
    std::printf("  kept unproved (time up): %d\n", failed);
    std::fflush(stdout);
}

} // namespace
} // namespace mirelo

int main(int argc, char** argv) {
    using namespace mirelo;
    const Options o = Parse(argc, argv);
    std::FILE* log = nullptr;
    if (!o.LogPath.empty()) {
        log = std::fopen(o.LogPath.c_str(), "w");
        if (!log) {
            std::fprintf(stderr, "mirelo_solve: cannot write %s: %s\n", o.LogPath.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    for (int layout : o.Layouts) {
        if (o.WinnableDeal)
            DealLayout(o, layout);
        else
            SolveLayout(o, layout, log);
    }
    if (log)
        std::fclose(log);
    return 0;
}

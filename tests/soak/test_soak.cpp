#include "SoakRun.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>

namespace mirelo::soak {
namespace {

constexpr long DefaultGames = 100'000;
constexpr int MaxReported = 10;

// A whole number from the environment; anything else is reported and ignored.
std::optional<unsigned long> FromEnvironment(const char* name, unsigned long max) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || text[0] == '-' || value > max) {
        std::printf("%s=\"%s\" is not a number from 0 to %lu; ignored\n", name, text, max);
        return std::nullopt;
    }
    return value;
}

void Report(const Stats& s, double seconds) {
    std::printf("soak: %lld games, %lld deals, %lld steps in %.1f s\n", s.Games, s.Deals, s.Steps,
                seconds);
    std::printf("soak: commands:");
    for (int c = 0; c < CommandCount; ++c)
        std::printf("%s %s %lld", c ? "," : "", CommandName(static_cast<Command>(c)), s.Issued[c]);
    std::printf("\nsoak: clicks ignored %lld, selected %lld, refused %lld, unselected %lld, let go "
                "%lld, pairs %lld\n",
                s.Ignored, s.Selected, s.Refused, s.Unselected, s.LetGo, s.Removed);
    std::printf("soak: hints %lld (refused %lld), backs %lld (refused %lld, after stop %lld)\n",
                s.HintsShown, s.HintsRefused, s.BacksDone, s.BacksRefused, s.BacksAfterStop);
    std::printf("soak: restarts %lld (refused %lld, after a shuffle %lld)\n", s.RestartsDone,
                s.RestartsRefused, s.RestartsAfterShuffle);
    std::printf("soak: shuffles %lld (refused %lld, no move found %lld, %lld passes)\n", s.Shuffles,
                s.ShufflesRefused, s.ShufflesBlocked, s.ShufflePasses);
    std::printf("soak: pauses %lld, resumes %lld (refused %lld)\n", s.Pauses, s.Resumes,
                s.PausesRefused);
    std::printf("soak: wins %lld (%lld while paused), stops %lld (%lld ending a pause)\n", s.Wins,
                s.WinsWhilePaused, s.Stops, s.StopsEndingPause);
    std::printf("soak: time limit %lld (%lld while paused), tick wraps %lld, step caps %lld, "
                "deals replayed %lld\n",
                s.TimeUps, s.TimeUpsWhilePaused, s.Wraps, s.StepCaps, s.DealsReplayed);
    std::fflush(stdout);
}

// Plays seeded games on every layout with every command a player has, and
// checks the rules after every step against the soak's own model. A failure
// names its seed; MIRELO_SOAK_SEED=<seed> replays that game alone and prints
// each step.
TEST(Soak, RandomGamesKeepEveryRule) {
    Stats stats;
    SoakRun run(stats);
    const auto start = std::chrono::steady_clock::now();
    const std::optional<unsigned long> replay = FromEnvironment("MIRELO_SOAK_SEED", 0xFFFFFFFFul);
    const unsigned long games =
        replay ? 1 : FromEnvironment("MIRELO_SOAK_GAMES", 1'000'000'000ul).value_or(DefaultGames);
    int failures = 0;
    for (unsigned long i = 0; i < games && failures < MaxReported; ++i) {
        const auto seed = static_cast<std::uint32_t>(replay ? *replay : i);
        if (!run.Play(seed, replay.has_value())) {
            ++failures;
            ADD_FAILURE() << run.Failure();
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Report(stats, seconds);
    RecordProperty("games", std::to_string(stats.Games));
    RecordProperty("steps", std::to_string(stats.Steps));

    // With the counts CI plays, the mix must have reached every corner it aims
    // at; a player model that stopped doing something would pass unseen.
    if (stats.Games < 10'000 || failures > 0)
        return;
    for (int c = 0; c < CommandCount; ++c)
        EXPECT_GT(stats.Issued[c], 0) << CommandName(static_cast<Command>(c));
    const std::pair<const char*, long long> corners[] = {
        {"ignored clicks", stats.Ignored},
        {"selections", stats.Selected},
        {"refusals", stats.Refused},
        {"unselections", stats.Unselected},
        {"picks let go", stats.LetGo},
        {"pairs", stats.Removed},
        {"hints", stats.HintsShown},
        {"hints refused", stats.HintsRefused},
        {"backs", stats.BacksDone},
        {"backs refused", stats.BacksRefused},
        {"backs after stop", stats.BacksAfterStop},
        {"restarts", stats.RestartsDone},
        {"restarts refused", stats.RestartsRefused},
        {"restarts after a shuffle", stats.RestartsAfterShuffle},
        {"shuffles", stats.Shuffles},
        {"shuffles refused", stats.ShufflesRefused},
        {"shuffles finding no move", stats.ShufflesBlocked},
        {"pauses", stats.Pauses},
        {"resumes", stats.Resumes},
        {"pauses refused", stats.PausesRefused},
        {"stops", stats.Stops},
        {"stops ending a pause", stats.StopsEndingPause},
        {"time limits", stats.TimeUps},
        {"time limits while paused", stats.TimeUpsWhilePaused},
        {"wins", stats.Wins},
        {"wins while paused", stats.WinsWhilePaused},
        {"tick wraps", stats.Wraps},
        {"deals replayed", stats.DealsReplayed}};
    for (const auto& [what, count] : corners)
        EXPECT_GT(count, 0) << what;
}

} // namespace
} // namespace mirelo::soak

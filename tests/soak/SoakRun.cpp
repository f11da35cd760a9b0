#include "SoakRun.h"

#include <algorithm>
#include <cstdio>
#include <span>

namespace mirelo::soak {
namespace {

constexpr int StepCap = 3000;
constexpr int MaxDealsPerGame = 2;

struct Weight {
    Command What;
    std::uint32_t Share;
};

constexpr std::uint32_t Total(std::span<const Weight> table) {
    std::uint32_t sum = 0;
    for (const Weight& w : table)
        sum += w.Share;
    return sum;
}

Command Weighted(std::uint32_t roll, std::span<const Weight> table) {
    for (const Weight& w : table) {
        if (roll < w.Share)
            return w.What;
        roll -= w.Share;
    }
    return Command::Tick;
}

// How often a player does what, per ten thousand steps, in each situation.
constexpr Weight Paused[] = {
    {Command::Pause, 3000},   {Command::Tick, 4000},     {Command::TimeJump, 100},
    {Command::PickFree, 800}, {Command::DropPicks, 200}, {Command::Hint, 400},
    {Command::Back, 400},     {Command::Restart, 100},   {Command::Shuffle, 200},
    {Command::Stop, 100},     {Command::New, 30}};
constexpr Weight Stuck[] = {
    {Command::Back, 5000}, {Command::Shuffle, 700},   {Command::Restart, 100},
    {Command::New, 15},    {Command::Stop, 60},       {Command::Hint, 300},
    {Command::Tick, 1500}, {Command::PickFree, 400},  {Command::PickNotFree, 400},
    {Command::Pause, 100}, {Command::DropPicks, 100}, {Command::TimeJump, 20}};
constexpr Weight Idle[] = {
    {Command::Tick, 1000},      {Command::TimeJump, 8},      {Command::PickFree, 6800},
    {Command::PickHinted, 200}, {Command::PickNotFree, 300}, {Command::PickOffBoard, 60},
    {Command::PickEmpty, 100},  {Command::DropPicks, 100},   {Command::Hint, 150},
    {Command::Back, 60},        {Command::Restart, 8},       {Command::Shuffle, 8},
    {Command::Pause, 40},       {Command::Stop, 3},          {Command::New, 2}};
constexpr Weight Selected[] = {{Command::Tick, 1000},
                               {Command::TimeJump, 8},
                               {Command::PickMatch, 6800},
                               {Command::PickOtherFree, 300},
                               {Command::PickSame, 200},
                               {Command::PickHinted, 100},
                               {Command::PickNotFree, 300},
                               {Command::PickOffBoard, 50},
                               {Command::PickEmpty, 100},
                               {Command::DropPicks, 120},
                               {Command::Hint, 120},
                               {Command::Back, 60},
                               {Command::Restart, 8},
                               {Command::Shuffle, 8},
                               {Command::Pause, 40},
                               {Command::Stop, 3},
                               {Command::New, 2}};

} // namespace

const char* CommandName(Command command) {
    static constexpr const char* Names[CommandCount] = {"tick",
                                                        "time jump",
                                                        "pick free",
                                                        "pick match",
                                                        "pick other free",
                                                        "pick same",
                                                        "pick hinted",
                                                        "pick not free",
                                                        "pick off board",
                                                        "click on nothing",
                                                        "right click",
                                                        "hint",
                                                        "back",
                                                        "restart",
                                                        "shuffle",
                                                        "pause",
                                                        "stop",
                                                        "new"};
    const int i = static_cast<int>(command);
    return i >= 0 && i < CommandCount ? Names[i] : "?";
}

const char* PhaseName(GamePhase phase) {
    switch (phase) {
    case GamePhase::Stopped:
        return "stopped";
    case GamePhase::Running:
        return "running";
    case GamePhase::Paused:
        return "paused";
    case GamePhase::Won:
        return "won";
    }
    return "?";
}

SoakRun::SoakRun(Stats& stats)
    : stats_(stats), removals_(std::make_unique<std::array<Snapshot, 72>>()),
      dealt_(std::make_unique<Snapshot>()) {}

SoakRun::~SoakRun() = default;

// splitmix64: the player's dice, apart from the generator of the rules.
std::uint32_t SoakRun::Roll(std::uint32_t n) {
    std::uint64_t z = (dice_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<std::uint32_t>(((z >> 32) * n) >> 32);
}

bool SoakRun::Play(std::uint32_t seed, bool trace) {
    game_ = Game();
    shadow_.Clear();
    exp_ = Expected{};
    removed_ = 0;
    seed_ = seed;
    dice_ = 0x50AC0000'00000000ULL ^ seed;
    trace_ = trace;
    layout_ = static_cast<int>(seed % 5) + 1;
    step_ = 0;
    deals_ = 0;
    afterEnd_ = 0;
    ended_ = false;
    wrapped_ = false;
    failure_.clear(); // the rest of the player's memory starts over with the first deal

    // A quarter of the games start close enough to the tick count's wrap to cross it.
    wall_ = Roll(4) == 0 ? (std::uint64_t{1} << 32) - Roll(1'200'000) : Roll(0xFFFFFFFFu);

    ++stats_.Games;
    bool ok = Step(Command::New);
    while (ok && !ended_) {
        if (step_ >= StepCap) {
            ++stats_.StepCaps;
            break;
        }
        ok = Step(Choose());
    }
    stats_.Wraps += wrapped_;
    return ok;
}

Command SoakRun::Choose() {
    const GameState& s = game_.State;
    if (!s.InPlay()) {
        // A finished game: a few commands that must all be refused or harmless,
        // then sometimes a new deal in the same game.
        if (afterEnd_ > 0) {
            --afterEnd_;
            const auto c = static_cast<Command>(Roll(CommandCount));
            return c == Command::New ? Command::Tick : c;
        }
        if (deals_ < MaxDealsPerGame && Roll(100) < 6)
            return Command::New;
        ended_ = true;
        return Command::Tick;
    }
    if (s.Paused())
        return Weighted(Roll(Total(Paused)), Paused);
    if (s.TilesLeft == 0) // cleared: the next tick finds the win
        return Roll(10) < 7 ? Command::Tick : static_cast<Command>(Roll(CommandCount));
    return ChooseRunning();
}

Command SoakRun::ChooseRunning() {
    const Footprints& f = shadow_.Look();
    if (f.Moves == 0) {
        // Stuck: mostly Back or Shuffle, as a player would. At the same dead
        // end again and again a player shuffles or gives up; a shuffle that
        // found nothing, or one among the last few tiles, is seldom tried again.
        deadEndVisits_ = shadow_.TilesOn() == deadEndTiles_ ? deadEndVisits_ + 1 : 0;
        deadEndTiles_ = shadow_.TilesOn();
        Command c = Weighted(Roll(Total(Stuck)), Stuck);
        if (deadEndVisits_ >= 3 && c == Command::Back) {
            const std::uint32_t roll = Roll(20);
            c = roll < 8 ? Command::Shuffle : roll < 10 ? Command::Stop : c;
        }
        if (c != Command::Shuffle)
            return c;
        const bool futile = shadow_.TilesOn() <= std::max(shuffleBlockedAt_, 4) && Roll(32) != 0;
        return futile ? Command::Back : c;
    }
    if (game_.State.FirstPick == 0)
        return Weighted(Roll(Total(Idle)), Idle);
    return Weighted(Roll(Total(Selected)), Selected);
}

// The tile a click lands on; falls back to a plainer click when the board
// offers no such tile, and says so in `command`.
std::uint8_t SoakRun::ChooseTile(Command& command) {
    const Footprints& f = shadow_.Look();
    const GameState& s = game_.State;
    const int first = s.FirstPick;
    // A player mostly goes for a tile that has a partner.
    auto anyFree = [&]() -> std::uint8_t {
        command = Command::PickFree;
        if (f.PairCount > 0 && Roll(8) != 0) {
            // After a Back, another pair than the one just put back if there is one.
            std::uint32_t i = Roll(f.PairCount);
            if (f.PairCount > 1 && FaceOf(f.Pairs[i][0]) == FaceOf(backedTile_))
                i = (i + 1) % f.PairCount;
            return f.Pairs[i][Roll(2)];
        }
        return f.FreeCount ? f.FreeTiles[Roll(f.FreeCount)] : 0;
    };
    switch (command) {
    case Command::PickFree:
        return anyFree();
    case Command::PickMatch: {
        if (first == 0)
            return anyFree();
        std::uint8_t options[4];
        int n = 0;
        for (int t = FaceOf(first) * 4 + 1; t <= FaceOf(first) * 4 + 4; ++t)
            if (t != first && f.Free[t])
                options[n++] = static_cast<std::uint8_t>(t);
        return n ? options[Roll(n)] : anyFree();
    }
    case Command::PickOtherFree: {
        if (f.FreeCount < 2) {
            command = Command::PickFree;
            return f.FreeCount ? f.FreeTiles[0] : 0;
        }
        const std::uint32_t i = Roll(f.FreeCount);
        if (f.FreeTiles[i] != first)
            return f.FreeTiles[i];
        return f.FreeTiles[(i + 1 + Roll(f.FreeCount - 1)) % f.FreeCount];
    }
    case Command::PickSame:
        return first ? static_cast<std::uint8_t>(first) : anyFree();
    case Command::PickHinted:
        if (s.HintFirst == 0)
            return anyFree();
        return Roll(2) ? s.HintFirst : s.HintSecond;
    case Command::PickNotFree: {
        const int start = static_cast<int>(Roll(144));
        for (int i = 0; i < 144; ++i) {
            const int t = (start + i) % 144 + 1;
            if (shadow_.Place(t).On() && !f.Free[t])
                return static_cast<std::uint8_t>(t);
        }
        return anyFree();
    }
    case Command::PickOffBoard:
        // Mostly a removed tile; now and then a number no tile carries.
        if (removed_ > 0 && Roll(8) != 0)
            return historyTile_[Roll(removed_)];
        return static_cast<std::uint8_t>(145 + Roll(111));
    default:
        return 0;
    }
}

std::uint32_t SoakRun::DelayFor(Command command) {
    switch (command) {
    case Command::Tick:
        return 10 * (1 + Roll(100));
    case Command::TimeJump: {
        // Minutes away, or to within seconds of the time limit so that the
        // ticks after it cross the limit one second at a time, or far past it.
        const std::int64_t toLimit = std::int64_t{TimeLimitSeconds - exp_.PenaltySeconds} * 1000 -
                                     exp_.PlayMs - exp_.PauseMs - Roll(5000);
        const std::uint32_t roll = Roll(10);
        if (roll < 3 && toLimit > 0 && toLimit < 9'000'000)
            return static_cast<std::uint32_t>(toLimit);
        return roll < 8 ? 60'000 + Roll(1'140'000) : 1'200'000 + Roll(7'800'000);
    }
    default:
        return 100 + Roll(2900);
    }
}

void SoakRun::Advance(std::uint32_t ms) {
    const std::uint64_t before = wall_;
    wall_ += ms;
    if (exp_.GameOver || exp_.GameWon)
        return;
    if ((before ^ wall_) >> 32)
        wrapped_ = true;
    if (exp_.Paused)
        exp_.PauseMs += ms;
    else
        exp_.PlayMs += ms;
}

bool SoakRun::Step(Command command) {
    ++step_;
    ++stats_.Steps;
    argument_ = 0;
    fullScan_ = step_ % 64 == 0;
    patchCount_ = 0;
    std::uint8_t tile = 0;
    if (command >= Command::PickFree && command <= Command::PickEmpty)
        tile = ChooseTile(command);
    current_ = command;
    ++stats_.Issued[static_cast<int>(command)];
    Advance(DelayFor(command));
    view_.Reset();
    const bool wasOver = exp_.GameOver;

    bool ok = true;
    switch (command) {
    case Command::Tick:
    case Command::TimeJump:
        ok = DoTick();
        break;
    case Command::DropPicks:
        ok = DoDropPicks();
        break;
    case Command::Hint:
        ok = DoHint();
        break;
    case Command::Back:
        ok = DoBack();
        break;
    case Command::Restart:
        ok = DoRestart();
        break;
    case Command::Shuffle:
        ok = DoShuffle();
        break;
    case Command::Pause:
        ok = DoPause();
        break;
    case Command::Stop:
        ok = DoStop();
        break;
    case Command::New: {
        // Now and then the player picked another layout for the next deal.
        if (deals_ > 0 && Roll(4) == 0)
            layout_ = static_cast<int>(Roll(5)) + 1;
        argument_ = layout_;
        ok = DoNew(layout_);
        break;
    }
    default:
        argument_ = tile;
        ok = DoClick(tile);
        break;
    }
    if (command != Command::Tick && command != Command::TimeJump)
        commandSinceTurn_ = true;
    ok = ok && CheckAll();
    if (trace_)
        Trace(command);
    if (ok && !wasOver && exp_.GameOver)
        afterEnd_ = static_cast<int>(Roll(7));
    return ok;
}

void SoakRun::Trace(Command command) const {
    const GameState& s = game_.State;
    std::printf("step %d t=%u %s", step_, Now(), CommandName(command));
    if (argument_)
        std::printf(" %d", argument_);
    std::printf(" | tiles %d moves %d free %d pick %d hint %d-%d #%d time %d+%d %s\n", s.TilesLeft,
                s.MovesLeft, s.FreeCount, s.FirstPick, s.HintFirst, s.HintSecond, s.HintIndex,
                s.ElapsedSeconds, s.PenaltySeconds, PhaseName(s.Phase));
}

} // namespace mirelo::soak

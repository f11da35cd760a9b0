#include "LayoutChoice.h"
#include "LayoutTemplate.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

using Checks = std::array<std::int8_t, 6>;
constexpr std::int8_t L = LayoutOutcome::Leave;

TEST(LayoutChoice, ChoosingAnotherLayoutChecksItWarnsOnceAndSaysSo) {
    LayoutChoice choice;
    LayoutOutcome out = ChooseLayout(choice, LayoutTheater, true);
    EXPECT_TRUE(out.Acted);
    EXPECT_EQ(choice.CurrentLayout, LayoutTheater);
    EXPECT_EQ(out.Checks, (Checks{L, 0, 0, 0, 1, 0}));
    EXPECT_TRUE(out.Warn);
    EXPECT_EQ(out.Message, "Layout THEATER selected.");

    out = ChooseLayout(choice, LayoutBeatle, true);
    EXPECT_FALSE(out.Warn); // once per run
    EXPECT_EQ(out.Message, "Layout BEATLE selected.");
    out = ChooseLayout(choice, LayoutBigHole, true);
    EXPECT_EQ(out.Message, "Layout BIG HOLE selected.");
}

TEST(LayoutChoice, TheCurrentLayoutAgainDoesNothing) {
    LayoutChoice choice;
    ChooseLayout(choice, LayoutBeatle, false);
    const LayoutOutcome out = ChooseLayout(choice, LayoutBeatle, true);
    EXPECT_FALSE(out.Acted);
    EXPECT_FALSE(out.Warn);
    EXPECT_TRUE(out.Message.empty());
    EXPECT_FALSE(choice.LayoutWarned);
}

TEST(LayoutChoice, NoWarningWithoutAGameOrWithNeverWarn) {
    LayoutChoice choice;
    EXPECT_FALSE(ChooseLayout(choice, LayoutTheater, false).Warn);
    EXPECT_FALSE(choice.LayoutWarned);
    choice.NeverWarn = true;
    EXPECT_FALSE(ChooseLayout(choice, LayoutBeatle, true).Warn);
    EXPECT_FALSE(ChooseTraditional(choice, false, true).Warn);
    EXPECT_FALSE(choice.LayoutWarned);
}

TEST(LayoutChoice, TraditionalActsEvenWhenCurrent) {
    LayoutChoice choice;
    const LayoutOutcome out = ChooseTraditional(choice, false, true);
    EXPECT_TRUE(out.Acted);
    EXPECT_TRUE(out.Warn);
    EXPECT_EQ(out.Message, "Layout TRADITIONAL selected.");
    // Dragon's mark is not touched on this path: it cannot be checked here.
    EXPECT_EQ(out.Checks, (Checks{L, 1, L, 0, 0, 0}));
}

TEST(LayoutChoice, DragonIsLockedUntilTheChordUnlocksIt) {
    LayoutChoice choice;
    EXPECT_FALSE(ChooseLayout(choice, LayoutDragon, true).Acted);
    EXPECT_EQ(choice.CurrentLayout, LayoutTraditional);

    ChooseLayout(choice, LayoutTheater, false);
    LayoutOutcome out = ChooseTraditional(choice, true, true);
    EXPECT_TRUE(out.EnableDragon);
    EXPECT_TRUE(choice.DragonUnlocked);
    EXPECT_FALSE(out.Warn);
    EXPECT_EQ(out.Checks, (Checks{L, L, L, L, L, L})); // marks left as they were
    EXPECT_EQ(choice.CurrentLayout, LayoutTraditional);
    EXPECT_EQ(out.Message, "Layout TRADITIONAL selected.");

    out = ChooseLayout(choice, LayoutDragon, true);
    EXPECT_TRUE(out.Acted);
    EXPECT_EQ(out.Message, "Layout DRAGON selected.");
    EXPECT_EQ(out.Checks, (Checks{L, 0, 1, 0, 0, 0}));

    // Unlocked and away from Traditional: the chord is not needed, all marks set.
    out = ChooseTraditional(choice, true, true);
    EXPECT_FALSE(out.EnableDragon);
    EXPECT_EQ(out.Checks, (Checks{L, 1, 0, 0, 0, 0}));
    EXPECT_EQ(choice.CurrentLayout, LayoutTraditional);
}

TEST(LayoutChoice, WarningNeedsARunningGameAtTheMomentOfTheChoice) {
    LayoutChoice choice;
    EXPECT_FALSE(ChooseTraditional(choice, false, false).Warn);
    EXPECT_TRUE(ChooseLayout(choice, LayoutTheater, true).Warn);
    EXPECT_FALSE(ChooseTraditional(choice, false, true).Warn);
}

} // namespace
} // namespace mirelo

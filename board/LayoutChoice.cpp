#include "LayoutChoice.h"

#include "LayoutTemplate.h"

namespace mirelo {
namespace {

// The warning is shown once per run, only over a running game.
bool Warn(LayoutChoice& choice, bool gameRunning) {
    if (choice.NeverWarn || choice.LayoutWarned || !gameRunning)
        return false;
    choice.LayoutWarned = true;
    return true;
}

} // namespace

std::string_view LayoutMessage(int layout) {
    switch (layout) {
    case LayoutDragon:
        return "Layout DRAGON selected.";
    case LayoutBigHole:
        return "Layout BIG HOLE selected.";
    case LayoutTheater:
        return "Layout THEATER selected.";
    case LayoutBeatle:
        return "Layout BEATLE selected.";
    default:
        return "Layout TRADITIONAL selected.";
    }
}

LayoutOutcome ChooseLayout(LayoutChoice& choice, int layout, bool gameRunning) {
    LayoutOutcome out;
    if (layout < LayoutDragon || layout > LayoutCount || choice.CurrentLayout == layout)
        return out;
    // The Dragon item is greyed until unlocked; refuse it here as well.
    if (layout == LayoutDragon && !choice.DragonUnlocked)
        return out;
    out.Acted = true;
    choice.CurrentLayout = layout;
    for (int n = 1; n <= LayoutCount; ++n)
        out.Checks[n] = n == layout ? 1 : 0;
    out.Warn = Warn(choice, gameRunning);
    out.Message = LayoutMessage(layout);
    return out;
}

LayoutOutcome ChooseTraditional(LayoutChoice& choice, bool chordHeld, bool gameRunning) {
    LayoutOutcome out;
    out.Acted = true;
    if (choice.DragonUnlocked && choice.CurrentLayout > LayoutTraditional) {
        for (int n = 1; n <= LayoutCount; ++n)
            out.Checks[n] = n == LayoutTraditional ? 1 : 0;
        out.Warn = Warn(choice, gameRunning);
    } else if (chordHeld) {
        // The secret unlock: the check marks stay as they are, no warning.
        out.EnableDragon = true;
        choice.DragonUnlocked = true;
    } else {
        out.Checks[LayoutTraditional] = 1;
        out.Checks[LayoutBigHole] = 0;
        out.Checks[LayoutTheater] = 0;
        out.Checks[LayoutBeatle] = 0;
        out.Warn = Warn(choice, gameRunning);
    }
    choice.CurrentLayout = LayoutTraditional;
    out.Message = LayoutMessage(LayoutTraditional);
    return out;
}

} // namespace mirelo

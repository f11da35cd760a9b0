#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace mirelo {

// Which layout the next deal uses, and the Layout menu's memory for this run.
struct LayoutChoice {
    int CurrentLayout = 1;
    bool DragonUnlocked = false;
    bool LayoutWarned = false;
    bool NeverWarn = false;
};

// What the window does after a Layout menu command, in this order: set the check
// marks, enable Dragon, show the warning box, show the message.
struct LayoutOutcome {
    static constexpr std::int8_t Leave = -1;

    bool Acted = false; // false: nothing at all happens
    // Indexed by layout 1..5: 1 check, 0 uncheck, Leave as it is.
    std::array<std::int8_t, 6> Checks{Leave, Leave, Leave, Leave, Leave, Leave};
    bool EnableDragon = false;
    bool Warn = false;
    std::string_view Message;
};

inline constexpr std::string_view LayoutWarningText =
    "You selected a new layout. Please note that you will have to start a new game "
    "before the changes take effect.";
inline constexpr std::string_view LayoutWarningCaption =
    "And now for something completely different.";

// "Layout TRADITIONAL selected." and its four siblings.
std::string_view LayoutMessage(int layout);

// Theater, Dragon, Big Hole or Beatle chosen from the menu.
LayoutOutcome ChooseLayout(LayoutChoice& choice, int layout, bool gameRunning);

// Traditional chosen; `chordHeld` tells whether the unlock keys are down.
LayoutOutcome ChooseTraditional(LayoutChoice& choice, bool chordHeld, bool gameRunning);

} // namespace mirelo

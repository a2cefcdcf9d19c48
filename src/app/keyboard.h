#pragma once

#include <array>
#include <cstdint>

namespace qb {

struct KeyPress {
    uint32_t virtualKey;
    bool ctrl;
    bool shift;
    bool alt;
};

enum class KeyVerdict {
    PassOn,      // normal handling (Space clicks, letters go to the menu bar)
    Swallow,     // handled here, or deliberately inert (Enter, arrows)
    Close,       // close the main window like its close box
    FocusButton  // move the focus to the button in KeyOutcome::button
};

struct KeyOutcome {
    KeyVerdict verdict;
    int button = 0;  // 1 ... 21 for FocusButton
};

// Which buttons can take the focus now (visible and enabled), indexed by number - 1.
using FocusableButtons = std::array<bool, 21>;

// A key pressed while the main window (focusedButton 0) or one of its buttons has the
// focus. Tab runs 按钮1, 按钮2, ... 按钮21 and round, which is not the z-order.
KeyOutcome PlanMainWindowKey(const KeyPress& key, int focusedButton, const FocusableButtons& focusable);

}  // namespace qb

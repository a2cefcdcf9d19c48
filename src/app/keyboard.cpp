#include "app/keyboard.h"

namespace qb {

namespace {
constexpr uint32_t kVkTab = 0x09;
constexpr uint32_t kVkReturn = 0x0D;
constexpr uint32_t kVkEscape = 0x1B;
constexpr uint32_t kVkLeft = 0x25;
constexpr uint32_t kVkDown = 0x28;

int NextFocusable(int from, bool backwards, const FocusableButtons& focusable) {
    const int count = static_cast<int>(focusable.size());
    // From the window itself (0), Tab starts at 按钮1 and Shift+Tab at 按钮21.
    int index = from == 0 ? (backwards ? 0 : count - 1) : from - 1;
    for (int step = 0; step < count; ++step) {
        index = (index + (backwards ? count - 1 : 1)) % count;
        if (focusable[index]) return index + 1;
    }
    return 0;
}
}  // namespace

KeyOutcome PlanMainWindowKey(const KeyPress& key, int focusedButton, const FocusableButtons& focusable) {
    switch (key.virtualKey) {
        case kVkEscape:
            if (key.ctrl || key.shift || key.alt) return {KeyVerdict::Swallow};
            return {KeyVerdict::Close};
        case kVkTab: {
            if (key.ctrl || key.alt) return {KeyVerdict::PassOn};
            const int next = NextFocusable(focusedButton, key.shift, focusable);
            if (next == 0) return {KeyVerdict::Swallow};
            return {KeyVerdict::FocusButton, next};
        }
        case kVkReturn:
            return {KeyVerdict::Swallow};
        default:
            if (key.virtualKey >= kVkLeft && key.virtualKey <= kVkDown) return {KeyVerdict::Swallow};
            return {KeyVerdict::PassOn};
    }
}

}  // namespace qb

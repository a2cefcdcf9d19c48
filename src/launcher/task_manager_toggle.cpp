#include "launcher/task_manager_toggle.h"

namespace qb {

namespace {

// True when every root reads `value`; stops at the first that does not.
bool AllRootsRead(PolicyStore& store, int32_t value) {
    for (PolicyRoot root : kPolicyRoots) {
        if (store.ReadPolicyValue(root) != value) return false;
    }
    return true;
}

void WriteEverywhere(PolicyStore& store, int32_t value) {
    for (PolicyRoot root : kPolicyRoots) (void)store.WritePolicyValue(root, value);  // a failure stops nothing
}

// A user without administrator rights may set the value under some roots only. A mix
// of 1 and 0 would leave the next click with nothing to do and Task Manager forbidden
// for good, so a refused write takes back the ones that went through.
void ForbidEverywhereOrNowhere(PolicyStore& store) {
    std::array<bool, kPolicyRoots.size()> written{};
    bool refused = false;
    for (size_t i = 0; i < kPolicyRoots.size(); ++i) {
        written[i] = store.WritePolicyValue(kPolicyRoots[i], 1);
        refused = refused || !written[i];
    }
    if (!refused) return;
    for (size_t i = 0; i < kPolicyRoots.size(); ++i) {
        if (written[i]) (void)store.WritePolicyValue(kPolicyRoots[i], 0);  // nothing more to try if this fails
    }
}

}  // namespace

PolicyLocation SplitPolicyLocation(std::string_view location) {
    const size_t slash = location.rfind('\\');
    if (slash == std::string_view::npos) return {Text(), Text(location)};
    return {Text(location.substr(0, slash)), Text(location.substr(slash + 1))};
}

void ToggleTaskManager(ToggleCaption& caption, PolicyStore& store, Launcher& launcher) {
    if (caption.Caption() != kTaskManagerOnCaption) {
        caption.SetCaption(Text(kTaskManagerOnCaption));
        ForbidEverywhereOrNowhere(store);
        return;
    }
    // The caption changes first, so it holds whatever the registry does.
    caption.SetCaption(Text(kTaskManagerOffCaption));
    if (AllRootsRead(store, 0)) {
        (void)launcher.RunProgram(Text(kTaskManagerCommand));  // a failed start is silent
        return;
    }
    // Read afresh: only a policy set under all three roots is cleared.
    if (!AllRootsRead(store, 1)) return;
    WriteEverywhere(store, 0);
    (void)launcher.RunProgram(Text(kTaskManagerCommand));
}

void InitTaskManagerCaption(ToggleCaption& caption, PolicyStore& store) {
    if (AllRootsRead(store, 0)) caption.SetCaption(Text(kTaskManagerOnCaption));
}

}  // namespace qb

#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/text.h"
#include "launcher/launch_table.h"

namespace qb {

// The three roots the policy is written under, in the order every pass visits them.
enum class PolicyRoot { ClassesRoot, CurrentConfig, CurrentUser };
constexpr std::array<PolicyRoot, 3> kPolicyRoots = {PolicyRoot::ClassesRoot, PolicyRoot::CurrentConfig,
                                                    PolicyRoot::CurrentUser};

// Key and value name in one text, split at its last backslash.
constexpr std::string_view kPolicyLocation =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\DisableTaskMgr";

struct PolicyLocation {
    Text key;
    Text valueName;
};
PolicyLocation SplitPolicyLocation(std::string_view location);

// 按钮3's two captions: the next click opens Task Manager, or forbids it.
constexpr std::string_view kTaskManagerOnCaption = "任务管理器开";
constexpr std::string_view kTaskManagerOffCaption = "任务管理器关";
constexpr std::string_view kTaskManagerCommand = "taskmgr";

// The DisableTaskMgr value under one root.
class PolicyStore {
public:
    virtual ~PolicyStore() = default;
    // 0 for a missing key or value, a value that is not a REG_DWORD and any failed call.
    virtual int32_t ReadPolicyValue(PolicyRoot root) = 0;
    // Creates the key where it is missing; true when the value was set.
    virtual bool WritePolicyValue(PolicyRoot root, int32_t value) = 0;
};

// The caption of 按钮3, the toggle's only state.
class ToggleCaption {
public:
    virtual ~ToggleCaption() = default;
    virtual Text Caption() = 0;
    virtual void SetCaption(const Text& caption) = 0;
};

// The click of 按钮3.
void ToggleTaskManager(ToggleCaption& caption, PolicyStore& store, Launcher& launcher);

// Start-up: the caption "任务管理器开" when the policy is clear under all three roots.
void InitTaskManagerCaption(ToggleCaption& caption, PolicyStore& store);

}  // namespace qb

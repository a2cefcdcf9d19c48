#include "launcher/task_manager_toggle.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "bytes.h"

namespace qb {
namespace {

const Text kOn = Bytes("c8cecef1b9dcc0edc6f7bfaa");   // 任务管理器开
const Text kOff = Bytes("c8cecef1b9dcc0edc6f7b9d8");  // 任务管理器关

const char* RootName(PolicyRoot root) {
    switch (root) {
        case PolicyRoot::ClassesRoot:
            return "HKCR";
        case PolicyRoot::CurrentConfig:
            return "HKCC";
        case PolicyRoot::CurrentUser:
            return "HKCU";
    }
    return "?";
}

// What one root holds: nothing, a REG_DWORD, or a value of another type.
struct Stored {
    enum Kind { Missing, Dword, String } kind = Missing;
    int32_t value = 0;
};
constexpr Stored kMissing{};
constexpr Stored D(int32_t value) { return {Stored::Dword, value}; }
constexpr Stored kString{Stored::String, 7};

using Roots = std::array<Stored, 3>;  // HKCR, HKCC, HKCU

// One log for the registry, the caption and the launcher, so their order shows.
struct World final : PolicyStore, ToggleCaption, Launcher {
    Roots roots{};
    std::array<bool, 3> refusesWrites{};
    Text caption;
    std::vector<std::string> log;

    int32_t ReadPolicyValue(PolicyRoot root) override {
        log.push_back(std::string("read ") + RootName(root));
        const Stored& stored = roots[static_cast<size_t>(root)];
        return stored.kind == Stored::Dword ? stored.value : 0;
    }
    bool WritePolicyValue(PolicyRoot root, int32_t value) override {
        const size_t i = static_cast<size_t>(root);
        if (refusesWrites[i]) {
            log.push_back(std::string("write ") + RootName(root) + " " + std::to_string(value) + " refused");
            return false;
        }
        log.push_back(std::string("write ") + RootName(root) + " " + std::to_string(value));
        roots[i] = D(value);
        return true;
    }
    Text Caption() override { return caption; }
    void SetCaption(const Text& text) override {
        log.push_back(text == kOn ? "caption on" : text == kOff ? "caption off" : "caption ?");
        caption = text;
    }
    bool RunProgram(const Text& commandLine) override {
        log.push_back("run " + commandLine);
        return true;
    }
    void ShellOpen(const Text&, const Text&) override { log.push_back("shell open"); }
    std::optional<Text> WindowsDirectory() override { return std::nullopt; }
};

std::vector<int32_t> Values(const Roots& roots) {
    std::vector<int32_t> values;
    for (const Stored& stored : roots) values.push_back(stored.kind == Stored::Missing ? -1 : stored.value);
    return values;
}

struct ClickRow {
    const char* name;
    Text captionBefore;
    Roots before;
    std::vector<std::string> log;  // the caption, every read and write, every start, in order
};

TEST(ToggleTaskManager, OneClickByCaptionAndRegistry) {
    const ClickRow rows[] = {
        {"on, missing everywhere: starts Task Manager",
         kOn,
         {kMissing, kMissing, kMissing},
         {"caption off", "read HKCR", "read HKCC", "read HKCU", "run taskmgr"}},
        {"on, 1 everywhere: clears all three in root order, then starts it",
         kOn,
         {D(1), D(1), D(1)},
         {"caption off", "read HKCR", "read HKCR", "read HKCC", "read HKCU", "write HKCR 0", "write HKCC 0",
          "write HKCU 0", "run taskmgr"}},
        {"on, 1 then missing: both passes stop early, nothing written or started",
         kOn,
         {D(1), kMissing, kMissing},
         {"caption off", "read HKCR", "read HKCR", "read HKCC"}},
        {"on, 2 in the middle", kOn, {kMissing, D(2), D(1)}, {"caption off", "read HKCR", "read HKCC", "read HKCR"}},
        {"on, 2 last after two 1s",
         kOn,
         {D(1), D(1), D(2)},
         {"caption off", "read HKCR", "read HKCR", "read HKCC", "read HKCU"}},
        {"on, 0 0 1 is a mix",
         kOn,
         {D(0), D(0), D(1)},
         {"caption off", "read HKCR", "read HKCC", "read HKCU", "read HKCR"}},
        {"on, a string value counts as clear",
         kOn,
         {kString, kMissing, D(0)},
         {"caption off", "read HKCR", "read HKCC", "read HKCU", "run taskmgr"}},
        {"off: 1 under all three in root order, nothing started",
         kOff,
         {kMissing, D(0), kString},
         {"caption on", "write HKCR 1", "write HKCC 1", "write HKCU 1"}},
        {"off with 1 already set: written again all the same",
         kOff,
         {D(1), D(1), D(1)},
         {"caption on", "write HKCR 1", "write HKCC 1", "write HKCU 1"}},
        {"empty caption acts as off", "", {}, {"caption on", "write HKCR 1", "write HKCC 1", "write HKCU 1"}},
        {"on caption with a trailing space acts as off",
         kOn + " ",
         {},
         {"caption on", "write HKCR 1", "write HKCC 1", "write HKCU 1"}},
        {"the caption without its last character acts as off",
         Bytes("c8cecef1b9dcc0edc6f7"),
         {},
         {"caption on", "write HKCR 1", "write HKCC 1", "write HKCU 1"}},
    };
    for (const ClickRow& row : rows) {
        World world;
        world.roots = row.before;
        world.caption = row.captionBefore;
        ToggleTaskManager(world, world, world);
        EXPECT_EQ(world.log, row.log) << row.name;
        EXPECT_EQ(world.caption, row.captionBefore == kOn ? kOff : kOn) << row.name;
    }
}

struct RefusalRow {
    const char* name;
    std::array<bool, 3> refuses;
    std::vector<std::string> log;
    std::vector<int32_t> after;  // -1 for missing
};

// A refused write of 1 (no administrator rights under HKCC, say) takes back the ones that
// went through, so no mix of 1 and 0 is left behind to lock the user out.
TEST(ToggleTaskManager, ARefusedWriteOfOneLeavesThePolicyClear) {
    const RefusalRow rows[] = {
        {"HKCC refuses",
         {false, true, false},
         {"caption on", "write HKCR 1", "write HKCC 1 refused", "write HKCU 1", "write HKCR 0", "write HKCU 0"},
         {0, -1, 0}},
        {"HKCR refuses",
         {true, false, false},
         {"caption on", "write HKCR 1 refused", "write HKCC 1", "write HKCU 1", "write HKCC 0", "write HKCU 0"},
         {-1, 0, 0}},
        {"HKCU refuses",
         {false, false, true},
         {"caption on", "write HKCR 1", "write HKCC 1", "write HKCU 1 refused", "write HKCR 0", "write HKCC 0"},
         {0, 0, -1}},
        {"all refuse: nothing to take back",
         {true, true, true},
         {"caption on", "write HKCR 1 refused", "write HKCC 1 refused", "write HKCU 1 refused"},
         {-1, -1, -1}},
    };
    for (const RefusalRow& row : rows) {
        World world;
        world.caption = kOff;
        world.refusesWrites = row.refuses;
        ToggleTaskManager(world, world, world);
        EXPECT_EQ(world.log, row.log) << row.name;
        EXPECT_EQ(Values(world.roots), row.after) << row.name;
        EXPECT_EQ(world.caption, kOn) << row.name;

        // The next click finds the policy clear and opens Task Manager again.
        world.log.clear();
        ToggleTaskManager(world, world, world);
        EXPECT_EQ(world.log.back(), "run taskmgr") << row.name;
    }
}

TEST(ToggleTaskManager, ForbidThenAllowRoundTrip) {
    World world;
    world.caption = kOn;
    ToggleTaskManager(world, world, world);  // clear: starts it
    ToggleTaskManager(world, world, world);  // forbids under all three
    EXPECT_EQ(Values(world.roots), (std::vector<int32_t>{1, 1, 1}));
    world.log.clear();
    ToggleTaskManager(world, world, world);  // all 1: cleared and started
    EXPECT_EQ(Values(world.roots), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(world.log.back(), "run taskmgr");
    EXPECT_EQ(world.caption, kOff);
}

struct InitRow {
    const char* name;
    Roots roots;
    std::vector<std::string> log;
};

TEST(InitTaskManagerCaption, StopsAtTheFirstRootThatIsNotZero) {
    const InitRow rows[] = {
        {"missing everywhere", {}, {"read HKCR", "read HKCC", "read HKCU", "caption on"}},
        {"a string and zeros", {kString, D(0), kMissing}, {"read HKCR", "read HKCC", "read HKCU", "caption on"}},
        {"HKCR set", {D(1), kMissing, kMissing}, {"read HKCR"}},
        {"HKCC set", {kMissing, D(2), D(0)}, {"read HKCR", "read HKCC"}},
        {"HKCU negative", {kMissing, kMissing, D(-1)}, {"read HKCR", "read HKCC", "read HKCU"}},
    };
    for (const InitRow& row : rows) {
        World world;
        world.roots = row.roots;
        world.caption = kOn;  // as the button is created
        InitTaskManagerCaption(world, world);
        EXPECT_EQ(world.log, row.log) << row.name;
        EXPECT_EQ(world.caption, kOn) << row.name;
    }
}

TEST(PolicyLocation, SplitsAtTheLastBackslash) {
    const PolicyLocation location = SplitPolicyLocation(kPolicyLocation);
    EXPECT_EQ(location.key, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System");
    EXPECT_EQ(location.valueName, "DisableTaskMgr");
    EXPECT_EQ(SplitPolicyLocation("NoSlash").valueName, "NoSlash");
    EXPECT_EQ(SplitPolicyLocation("NoSlash").key, "");
}

}  // namespace
}  // namespace qb

#include "app/program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bytes.h"
#include "upgrade/manifest_document.h"

namespace qb {
namespace {

TEST(StandardCaption, IsTheNameSixSpacesAndTheVersion) {
    EXPECT_EQ(StandardCaption(), Bytes("5175696d6272656c 202020202020 332e32"));
}

struct Ended {};

// Records every step with the program values it found, so order and timing both show.
struct RecordingSteps final : CreatedSequenceSteps {
    std::vector<std::string> log;
    ProgramState* state = nullptr;
    bool anotherInstance = false;

    std::string Values() const {
        return " (countdown " + std::to_string(state->aboutCountdown) + ", just shown " +
               std::to_string(state->dockJustShown) + ")";
    }
    void SingleInstanceGuard(const Text& name, const Text& message) override {
        log.push_back("guard " + name + " " + message + Values());
        if (anotherInstance) throw Ended{};  // EndProgram does not return
    }
    void SetMainWindowCaption(const Text& caption) override { log.push_back("caption " + caption + Values()); }
    void EnableControlSkin(int scheme) override { log.push_back("skin " + std::to_string(scheme) + Values()); }
    void InitTaskManagerCaption() override { log.push_back("task manager caption" + Values()); }
    void InstallWindowHook() override { log.push_back("hook" + Values()); }
};

TEST(OnMainWindowCreated, RunsEveryStepInItsPlace) {
    ProgramState state;
    state.paths.executableName = "Quimbrel.exe";
    RecordingSteps steps;
    steps.state = &state;
    OnMainWindowCreated(steps, state);
    const std::string guardMessage = Bytes("b3ccd0f2d2d1d4cbd0d0a3acc7ebc8b7b6a8a3a1");
    EXPECT_EQ(steps.log, (std::vector<std::string>{
                             "guard Quimbrel.exe " + guardMessage + " (countdown 0, just shown 0)",
                             "caption " + StandardCaption() + " (countdown 0, just shown 0)",
                             "skin 1 (countdown 0, just shown 0)",
                             "task manager caption (countdown 6, just shown 0)",
                             "hook (countdown 6, just shown 1)",
                         }));
}

TEST(OnMainWindowCreated, AnotherInstanceStopsTheSequenceAtTheGuard) {
    ProgramState state;
    RecordingSteps steps;
    steps.state = &state;
    steps.anotherInstance = true;
    EXPECT_THROW(OnMainWindowCreated(steps, state), Ended);
    ASSERT_EQ(steps.log.size(), 1u);
    EXPECT_EQ(state.aboutCountdown, 0);
    EXPECT_EQ(state.dockJustShown, 0);
}

struct RecordingHost final : StartupHost {
    std::vector<std::string> log;
    Text modulePath = "C:\\Program Files\\Q\\Quimbrel.exe";
    bool windowCreates = true;
    bool windowSurvivesCreatedEvent = true;
    void (*duringLoop)() = nullptr;

    void OleInitialize() override { log.push_back("OleInitialize"); }
    Text ModuleFileName() override {
        log.push_back("ModuleFileName");
        return modulePath;
    }
    LeadByteTest AnsiLeadByteTest() override { return IsCp936LeadByte; }
    void EnterDirectory(const Text& directory) override { log.push_back("directory " + directory); }
    bool CreateMainWindow() override {
        log.push_back(std::string("create window, holder ") + (TheManifestDocument() ? "made" : "missing"));
        return windowCreates;
    }
    void DispatchCreatedEvent() override { log.push_back("created event"); }
    bool MainWindowExists() override { return windowSurvivesCreatedEvent; }
    void ShowMainWindow() override { log.push_back("show"); }
    int RunMessageLoop() override {
        log.push_back("message loop");
        if (duringLoop) duringLoop();
        return 0;
    }
    void ReportStartupFailure() override { log.push_back("error box"); }
    void OleUninitialize() override { log.push_back("OleUninitialize"); }
};

TEST(ProgramMain, StartsInOrderAndReleasesTheManifestOnceAtTheEnd) {
    RecordingHost host;
    ProgramState state;
    ExitCleanup cleanup;
    EXPECT_EQ(ProgramMain(host, state, cleanup), 0);
    EXPECT_EQ(host.log, (std::vector<std::string>{"OleInitialize", "ModuleFileName", "directory C:\\Program Files\\Q",
                                                  "create window, holder made", "created event", "show",
                                                  "message loop", "OleUninitialize"}));
    EXPECT_EQ(state.paths.executableName, "Quimbrel.exe");
    EXPECT_EQ(TheManifestDocument(), nullptr) << "the holder outlived the exit clean-up";
    cleanup.RunAll();  // nothing left: a second release would double-free under ASan
}

TEST(ProgramMain, EndProgramDuringTheRunReleasesTheManifestOnlyThere) {
    static ExitCleanup* cleanupSeen = nullptr;
    static bool releasedInside = false;
    RecordingHost host;
    ProgramState state;
    ExitCleanup cleanup;
    cleanupSeen = &cleanup;
    releasedInside = false;
    // What EndProgram does to the list; the process would end right after.
    host.duringLoop = [] {
        cleanupSeen->RunAll();
        releasedInside = TheManifestDocument() == nullptr;
    };
    EXPECT_EQ(ProgramMain(host, state, cleanup), 0);
    EXPECT_TRUE(releasedInside);
    EXPECT_EQ(TheManifestDocument(), nullptr);
}

TEST(ProgramMain, AWindowThatCannotBeMadeEndsWithMinusOne) {
    RecordingHost host;
    host.windowCreates = false;
    ProgramState state;
    ExitCleanup cleanup;
    EXPECT_EQ(ProgramMain(host, state, cleanup), -1);
    EXPECT_EQ(host.log.back(), "OleUninitialize");
    EXPECT_EQ(host.log[host.log.size() - 2], "error box");
    EXPECT_EQ(TheManifestDocument(), nullptr);
}

TEST(ProgramMain, AWindowGoneAfterTheCreatedEventIsNeverShown) {
    RecordingHost host;
    host.windowSurvivesCreatedEvent = false;
    ProgramState state;
    ExitCleanup cleanup;
    EXPECT_EQ(ProgramMain(host, state, cleanup), 0);
    for (const std::string& entry : host.log) EXPECT_NE(entry, "show");
}

}  // namespace
}  // namespace qb

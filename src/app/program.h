#pragma once

#include <cstdint>

#include "base/exit_cleanup.h"
#include "base/run_directory.h"
#include "base/text.h"

namespace qb {

constexpr double kProgramVersion = 3.2;
constexpr int kStartupFailedExitCode = -1;
constexpr int kAboutCountdownStart = 6;

// "Quimbrel", six spaces, the version as "%.13g" writes it.
Text StandardCaption();

// The plain values of the user-interface thread.
struct ProgramState {
    ExecutablePathParts paths;
    int32_t aboutCountdown = 0;
    int32_t dockJustShown = 0;
};

ProgramState& TheProgramState();

// The steps of the created sequence that reach outside the program's own values.
class CreatedSequenceSteps {
public:
    virtual ~CreatedSequenceSteps() = default;
    // Returns only when no other instance runs; otherwise ends the process.
    virtual void SingleInstanceGuard(const Text& name, const Text& message) = 0;
    virtual void SetMainWindowCaption(const Text& caption) = 0;
    virtual void EnableControlSkin(int scheme) = 0;
    virtual void InitTaskManagerCaption() = 0;
    virtual void InstallWindowHook() = 0;
};

void OnMainWindowCreated(CreatedSequenceSteps& steps, ProgramState& state);

// What start-up and the message loop need from the system.
class StartupHost {
public:
    virtual ~StartupHost() = default;
    virtual void OleInitialize() = 0;
    virtual Text ModuleFileName() = 0;
    // Lead bytes of the ANSI code page in force.
    virtual LeadByteTest AnsiLeadByteTest() = 0;
    virtual void EnterDirectory(const Text& directory) = 0;  // SetCurrentDirectoryA
    // The main window, its controls and its menu bar, hidden.
    virtual bool CreateMainWindow() = 0;
    virtual void DispatchCreatedEvent() = 0;
    virtual bool MainWindowExists() = 0;
    virtual void ShowMainWindow() = 0;
    // Runs until WM_QUIT and gives its wParam.
    virtual int RunMessageLoop() = 0;
    virtual void ReportStartupFailure() = 0;
    virtual void OleUninitialize() = 0;
};

// Start-up, the main window and the message loop: 0 after the loop has ended, or
// kStartupFailedExitCode when the program could not start.
int ProgramEntry(StartupHost& host, ProgramState& state, ExitCleanup& cleanup);

// ProgramEntry, then the exit clean-up and OLE's end: the exit code of the process.
int ProgramMain(StartupHost& host, ProgramState& state, ExitCleanup& cleanup);

}  // namespace qb

#include "app/program.h"

#include <cstdio>

#include "upgrade/manifest_document.h"

namespace qb {

Text StandardCaption() {
    char version[32];
    std::snprintf(version, sizeof(version), "%.13g", kProgramVersion);
    return Text("Quimbrel      ") + version;
}

ProgramState& TheProgramState() {
    static ProgramState state;
    return state;
}

void OnMainWindowCreated(CreatedSequenceSteps& steps, ProgramState& state) {
    steps.SingleInstanceGuard(state.paths.executableName, "程序已运行，请确定！");
    steps.SetMainWindowCaption(StandardCaption());
    steps.EnableControlSkin(1);
    state.aboutCountdown = kAboutCountdownStart;
    steps.InitTaskManagerCaption();
    state.dockJustShown = 1;
    steps.InstallWindowHook();
}

int ProgramEntry(StartupHost& host, ProgramState& state, ExitCleanup& cleanup) {
    host.OleInitialize();  // a failure is ignored: nothing here needs OLE to start
    const Text modulePath = host.ModuleFileName();
    state.paths = SplitExecutablePath(modulePath, host.AnsiLeadByteTest());
    host.EnterDirectory(state.paths.runDirectory);

    if (!CreateManifestDocument()) {
        host.ReportStartupFailure();
        return kStartupFailedExitCode;
    }
    cleanup.Register(&ReleaseManifestDocument);

    if (!host.CreateMainWindow()) {
        host.ReportStartupFailure();
        return kStartupFailedExitCode;
    }
    host.DispatchCreatedEvent();
    if (host.MainWindowExists()) host.ShowMainWindow();
    (void)host.RunMessageLoop();  // WM_QUIT carries 0, from PostQuitMessage (0)
    return 0;
}

int ProgramMain(StartupHost& host, ProgramState& state, ExitCleanup& cleanup) {
    const int code = ProgramEntry(host, state, cleanup);
    cleanup.RunAll();
    host.OleUninitialize();
    return code;
}

}  // namespace qb

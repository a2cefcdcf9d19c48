#include <windows.h>
#include <ole2.h>

#include "about/about_box_win32.h"
#include "app/control_skin_win32.h"
#include "app/main_window_win32.h"
#include "app/program.h"
#include "app/program_win32.h"
#include "app/single_instance_win32.h"
#include "app/task_manager_button_win32.h"
#include "base/message_loop_win32.h"
#include "upgrade/upgrade_road_win32.h"
#include "window/dock_win32.h"
#include "window/fade.h"

namespace qb {

namespace {

// The created sequence's steps, each handed to the subsystem that owns it.
class Win32CreatedSteps final : public CreatedSequenceSteps {
public:
    void SingleInstanceGuard(const Text& name, const Text& message) override {
        RunSingleInstanceGuard(name, message);
    }
    void SetMainWindowCaption(const Text& caption) override { SetWindowTextA(MainWindow(), caption.c_str()); }
    void EnableControlSkin(int scheme) override {
        (void)qb::EnableControlSkin(scheme);  // scheme 1 always exists; without the skin the system paints
    }
    void InitTaskManagerCaption() override { InitTaskManagerButtonCaption(); }
    void InstallWindowHook() override {
        SetDockJustShownFlag(&TheProgramState().dockJustShown);
        (void)qb::InstallWindowHook(MainWindow());  // without its timer the hook only passes messages on
    }
};

class Win32StartupHost final : public StartupHost {
public:
    explicit Win32StartupHost(HINSTANCE instance) : instance_(instance) {}

    void OleInitialize() override { (void)::OleInitialize(nullptr); }
    Text ModuleFileName() override {
        char path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        return Text(path, length < MAX_PATH ? length : MAX_PATH);
    }
    LeadByteTest AnsiLeadByteTest() override {
        return [](unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; };
    }
    void EnterDirectory(const Text& directory) override { (void)SetCurrentDirectoryA(directory.c_str()); }
    bool CreateMainWindow() override { return BuildMainWindow(instance_) != nullptr; }
    void DispatchCreatedEvent() override {
        Win32CreatedSteps steps;
        OnMainWindowCreated(steps, TheProgramState());
    }
    bool MainWindowExists() override { return IsWindow(MainWindow()) != FALSE; }
    void ShowMainWindow() override { ShowWindow(MainWindow(), SW_SHOW); }
    int RunMessageLoop() override { return qb::RunMessageLoop(); }
    void ReportStartupFailure() override {
        MessageBoxA(nullptr, "程序窗口无法创建，程序将退出。", "Quimbrel", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
    void OleUninitialize() override { ::OleUninitialize(); }

private:
    HINSTANCE instance_;
};

}  // namespace

// The main window's events that other subsystems handle.
MainWindowHandlers SubsystemHandlers() {
    MainWindowHandlers handlers;
    handlers.taskManagerToggle = ToggleTaskManagerButton;
    handlers.checkForUpdate = [] {
        const ProgramState& state = TheProgramState();
        RunUpdateCheck({MainWindow(), state.paths.runDirectory, StandardCaption(), kProgramVersion});
    };
    handlers.showAbout = [] {
        Win32AboutBox box(SetAboutTimerPeriod);
        ShowAboutBox(box);
    };
    handlers.aboutTimerTick = [] {
        Win32AboutBox box(SetAboutTimerPeriod);
        AboutTimerTick(box, TheProgramState().aboutCountdown);
    };
    handlers.closeRequested = FadeOutOnClose;
    return handlers;
}

int RunQuimbrel(HINSTANCE instance) {
    SetMainWindowHandlers(SubsystemHandlers());
    SetMessagePreTranslator(PreTranslateMainWindowMessage);
    Win32StartupHost host(instance);
    return ProgramMain(host, TheProgramState(), ProcessExitCleanup());
}

}  // namespace qb

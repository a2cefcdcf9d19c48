#pragma once

#include <windows.h>

#include "launcher/launch_table.h"

namespace qb {

// The controls' handlers that live in other subsystems, called from the window procedure.
struct MainWindowHandlers {
    void (*taskManagerToggle)() = nullptr;
    void (*checkForUpdate)() = nullptr;
    void (*showAbout)() = nullptr;
    void (*aboutTimerTick)() = nullptr;
    void (*closeRequested)() = nullptr;  // WM_CLOSE and an accepted WM_QUERYENDSESSION
};

void SetMainWindowHandlers(const MainWindowHandlers& handlers);

// The launcher behind the buttons and menu items; the system's own unless replaced.
void SetMainWindowLauncher(Launcher* launcher);

// Registers "WTWindow" (once) and builds the hidden window with its menu bar and
// controls, z-order arranged and controls shown. Null when the window cannot be made.
HWND BuildMainWindow(HINSTANCE instance);

HWND MainWindow();
HWND MainWindowControl(int id);

// Handles the keys of the main window and its buttons before TranslateMessage: Esc,
// Tab and Shift+Tab, the inert Enter and arrows. True when the message was consumed.
bool PreTranslateMainWindowMessage(MSG& msg);

// Period of 时钟1关于 in milliseconds, with the rules of PlanTimerPeriod.
void SetAboutTimerPeriod(int period);
int AboutTimerPeriod();

// Caption of 按钮3: the text last set.
const Text& TaskManagerButtonCaption();
void SetTaskManagerButtonCaption(const Text& caption);

}  // namespace qb

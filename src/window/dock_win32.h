#pragma once

#include <windows.h>

#include "window/dock_plan.h"

namespace qb {

DockState& TheDockState();

// Subclasses the main window and starts the dock timer. True when the timer runs.
bool InstallWindowHook(HWND window);

LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void CALLBACK DockTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

// One tick; the just-shown flag is the program's, read and cleared here.
void DockTick();

// Where DockTick finds the program's DockJustShown.
void SetDockJustShownFlag(int32_t* flag);

}  // namespace qb

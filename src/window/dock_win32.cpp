#include "window/dock_win32.h"

namespace qb {

static_assert(sizeof(RECT) == sizeof(Rect) && offsetof(RECT, right) == offsetof(Rect, right));
static_assert(sizeof(MINMAXINFO) == sizeof(MinMaxInfo) &&
              offsetof(MINMAXINFO, ptMaxTrackSize) == offsetof(MinMaxInfo, maxTrackSize));

namespace {

DockState g_dock;
int32_t* g_dockJustShown = nullptr;

HWND DockWindow() { return static_cast<HWND>(g_dock.mainWindow); }

int32_t MeasureTaskbarHeight() {
    RECT taskbar{};
    if (!GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &taskbar)) return kTaskbarHeightUnknown;
    return taskbar.bottom - taskbar.top;
}

// The screen's size changes only with the display mode, which Windows announces to every
// top-level window with WM_DISPLAYCHANGE. Asking every 10 ms costs more than the rest of
// the tick together (under Wine), so the answer is kept until the next announcement.
bool g_screenKnown = false;
int32_t g_screenWidth = 0;
int32_t g_screenHeight = 0;

void MeasureScreen(int32_t& width, int32_t& height) {
    if (!g_screenKnown) {
        g_screenWidth = GetSystemMetrics(SM_CXSCREEN);
        g_screenHeight = GetSystemMetrics(SM_CYSCREEN);
        g_screenKnown = true;
    }
    width = g_screenWidth;
    height = g_screenHeight;
}

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

DockState& TheDockState() { return g_dock; }

void SetDockJustShownFlag(int32_t* flag) { g_dockJustShown = flag; }

bool InstallWindowHook(HWND window) {
    g_screenKnown = false;
    g_dock.stripWidth = kStripWidth;
    g_dock.minTrackWidth = kMinTrackSize;
    g_dock.minTrackHeight = kMinTrackSize;
    g_dock.mainWindow = window;
    // The hook lasts as long as the window; it is never taken out again.
    g_dock.previousWindowProc =
        reinterpret_cast<void*>(SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(HookedWindowProc)));
    return SetTimer(window, kDockTimerId, 0, DockTimerProc) == kDockTimerId;
}

LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DISPLAYCHANGE) g_screenKnown = false;
    if (HookIsActive(g_dock)) {
        if (message == WM_MOVING) {
            auto* rect = reinterpret_cast<RECT*>(lParam);
            Rect clamped = ToRect(*rect);
            ClampDragRect(clamped, g_dock);
            *rect = {clamped.left, clamped.top, clamped.right, clamped.bottom};
        } else if (message == WM_GETMINMAXINFO) {
            auto* info = reinterpret_cast<MinMaxInfo*>(lParam);
            ApplyTrackLimits(*info, g_dock, MeasureTaskbarHeight());
        }
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(g_dock.previousWindowProc), window, message, wParam, lParam);
}

void CALLBACK DockTimerProc(HWND, UINT, UINT_PTR, DWORD) { DockTick(); }

void DockTick() {
    HWND window = DockWindow();
    RECT rect{};  // a failed GetWindowRect leaves zero sizes, which move nothing
    GetWindowRect(window, &rect);
    POINT cursor{};
    DockTickInputs in;
    in.window = ToRect(rect);
    MeasureScreen(in.screenWidth, in.screenHeight);
    in.stripWidth = g_dock.stripWidth;
    in.dockJustShown = g_dockJustShown ? *g_dockJustShown : 0;
    if (DockTickNeedsCursor(in.window, in.screenWidth, in.stripWidth, in.dockJustShown)) {
        in.cursorKnown = GetCursorPos(&cursor) != FALSE;
        in.cursor = {cursor.x, cursor.y};
    }
    in.topmostApplied = g_dock.topmostApplied;

    const DockTickPlan plan = PlanDockTick(in);
    g_dock.windowWidth = plan.windowWidth;
    g_dock.windowHeight = plan.windowHeight;
    g_dock.screenWidth = plan.screenWidth;
    g_dock.screenHeight = plan.screenHeight;
    g_dock.topmostApplied = plan.topmostApplied;
    if (g_dockJustShown) *g_dockJustShown = plan.dockJustShown;

    for (const DockOp& op : plan.ops) {
        switch (op.kind) {
            case DockOpKind::MakeTopmost:
                SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                break;
            case DockOpKind::MakeNotTopmost:
                SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                break;
            case DockOpKind::Move:
                MoveWindow(window, op.x, op.y, op.width, op.height, FALSE);
                break;
        }
    }
}

}  // namespace qb

#include "app/main_window_win32.h"

#include <commctrl.h>

#include "app/command_route.h"
#include "app/keyboard.h"
#include "app/main_window_def.h"
#include "app/timer_period.h"
#include "launcher/launcher_win32.h"

namespace qb {

static_assert(win::kWsCaption == WS_CAPTION && win::kWsSysMenu == WS_SYSMENU &&
              win::kWsMinimizeBox == WS_MINIMIZEBOX && win::kWsClipChildren == WS_CLIPCHILDREN &&
              win::kWsClipSiblings == WS_CLIPSIBLINGS && win::kWsChild == WS_CHILD &&
              win::kWsTabStop == WS_TABSTOP);
static_assert(win::kBsPushButton == BS_PUSHBUTTON && win::kBsGroupBox == BS_GROUPBOX && win::kBsLeft == BS_LEFT &&
              win::kBsCenter == BS_CENTER && win::kBsVCenter == BS_VCENTER && win::kBsMultiLine == BS_MULTILINE);
static_assert(win::kCsVRedraw == CS_VREDRAW && win::kCsHRedraw == CS_HREDRAW && win::kCsDblClks == CS_DBLCLKS);

namespace {

constexpr char kTimerClassName[] = "QuimbrelTimer";
constexpr UINT_PTR kAboutTimerId = 1000;
constexpr int kTimerControlId = 3001;
constexpr int kTaskManagerButtonId = kFirstButtonId + 3;

struct MainWindowData {
    HWND window = nullptr;
    HWND controls[kControls.size()] = {};
    HWND lastFocus = nullptr;
    MainWindowHandlers handlers;
    Launcher* launcher = nullptr;
    int aboutTimerPeriod = 0;
    Text taskManagerCaption;
    HFONT font = nullptr;
    bool closing = false;  // a fade-out is under way
};

MainWindowData g_main;

Launcher& CurrentLauncher() {
    static Win32Launcher system;
    return g_main.launcher ? *g_main.launcher : system;
}

void Call(void (*handler)()) {
    if (handler) handler();
}

void OnCommand(int id) {
    const CommandRoute route = RouteCommand(id);
    switch (route.handler) {
        case CommandHandler::Launch:
            Launch(*route.launch, CurrentLauncher());
            break;
        case CommandHandler::TaskManagerToggle:
            Call(g_main.handlers.taskManagerToggle);
            break;
        case CommandHandler::CheckForUpdate:
            Call(g_main.handlers.checkForUpdate);
            break;
        case CommandHandler::About:
            Call(g_main.handlers.showAbout);
            break;
        case CommandHandler::None:
            break;
    }
}

int FocusedButtonNumber(HWND focus) {
    if (!focus || GetParent(focus) != g_main.window) return 0;
    return ButtonNumberFromId(GetDlgCtrlID(focus));
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            // Buttons and frames fill what they do not draw with the window's face colour.
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_PRINTCLIENT:
        case WM_ERASEBKGND: {
            // The class brush is NULL_BRUSH; the face colour is painted here.
            RECT client;
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_SETFONT:
            // A plain window keeps no font of its own; this one does, for WM_GETFONT.
            g_main.font = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(g_main.font);
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED || (lParam == 0 && HIWORD(wParam) == 0)) OnCommand(LOWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            // Keep the focus on a button across deactivation, as a dialog does; the
            // default handling then gives the focus to the window, see WM_SETFOCUS.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (FocusedButtonNumber(focus)) g_main.lastFocus = focus;
            }
            break;
        case WM_SETFOCUS:
            SetFocus(g_main.lastFocus ? g_main.lastFocus : MainWindowControl(kFirstButtonId + 1));
            return 0;
        case WM_SYSCOMMAND:
            // The frame is fixed: a Size or Maximize that reaches the window (Wine's system
            // menu, a command sent by another program) changes nothing.
            if ((wParam & 0xFFF0) == SC_SIZE || (wParam & 0xFFF0) == SC_MAXIMIZE) return 0;
            break;
        case WM_CLOSE:
            // A second close while the fade runs is let go: the first one destroys the window.
            if (g_main.closing) return 0;
            g_main.closing = true;
            Call(g_main.handlers.closeRequested);
            g_main.closing = false;
            break;  // the default handling destroys the window
        case WM_QUERYENDSESSION: {
            const LRESULT answer = DefWindowProcA(window, message, wParam, lParam);
            if (!answer) return answer;
            if (!g_main.closing) {
                g_main.closing = true;
                Call(g_main.handlers.closeRequested);
                g_main.closing = false;
            }
            return TRUE;
        }
        case WM_DESTROY:
            if (window == g_main.window) {
                KillTimer(MainWindowControl(kTimerControlId), kAboutTimerId);
                g_main.window = nullptr;
                for (HWND& control : g_main.controls) control = nullptr;
                g_main.lastFocus = nullptr;
                g_main.aboutTimerPeriod = 0;
                g_main.font = nullptr;
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK TimerControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kAboutTimerId) {
        Call(g_main.handlers.aboutTimerTick);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A frame draws only its border; the parent clips it out of its own painting
// (WS_CLIPCHILDREN), so the frame fills its inside itself, around the buttons above it.
LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(frame, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(frame, FrameProc, 0);
    return DefSubclassProc(frame, message, wParam, lParam);
}

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSA main{};
    if (!GetClassInfoA(instance, kMainWindow.className.data(), &main)) {
        main.style = kMainWindow.classStyle;
        main.lpfnWndProc = MainWindowProc;
        main.hInstance = instance;
        main.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        main.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        main.lpszClassName = kMainWindow.className.data();
        if (!RegisterClassA(&main)) return false;
    }
    WNDCLASSA timer{};
    if (!GetClassInfoA(instance, kTimerClassName, &timer)) {
        timer.lpfnWndProc = TimerControlProc;
        timer.hInstance = instance;
        timer.lpszClassName = kTimerClassName;
        if (!RegisterClassA(&timer)) return false;
    }
    return true;
}

HMENU BuildMenuBar() {
    HMENU bar = CreateMenu();
    HMENU parents[3] = {bar, nullptr, nullptr};
    for (size_t i = 0; i < kMenu.size(); ++i) {
        const MenuItemDef& item = kMenu[i];
        const bool opensPopup = i + 1 < kMenu.size() && kMenu[i + 1].depth > item.depth;
        HMENU parent = parents[item.depth];
        if (opensPopup) {
            HMENU popup = CreatePopupMenu();
            AppendMenuA(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), item.caption.data());
            parents[item.depth + 1] = popup;
        } else {
            AppendMenuA(parent, MF_STRING, static_cast<UINT_PTR>(item.commandId), item.caption.data());
        }
    }
    return bar;
}

void SetIcons(HINSTANCE instance, HWND window) {
    const int bigSize = GetSystemMetrics(SM_CXICON);
    const int smallSize = GetSystemMetrics(SM_CXSMICON);
    HANDLE big = LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, bigSize, bigSize, 0);
    HANDLE small = LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, smallSize, smallSize, 0);
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

}  // namespace

void SetMainWindowHandlers(const MainWindowHandlers& handlers) { g_main.handlers = handlers; }

void SetMainWindowLauncher(Launcher* launcher) { g_main.launcher = launcher; }

HWND MainWindow() { return g_main.window; }

HWND MainWindowControl(int id) {
    for (size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].id == id) return g_main.controls[i];
    }
    return nullptr;
}

HWND BuildMainWindow(HINSTANCE instance) {
    if (!RegisterClasses(instance)) return nullptr;
    HMENU menu = BuildMenuBar();
    const Rect placed = CentredWindowRect(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HWND window = CreateWindowExA(kMainWindow.exStyle, kMainWindow.className.data(), kMainWindow.caption.data(),
                                  kMainWindow.style, placed.left, placed.top, placed.Width(), placed.Height(),
                                  nullptr, menu, instance, nullptr);
    if (!window) {
        DestroyMenu(menu);
        return nullptr;
    }
    RECT outer{};
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != kMainWindow.outerWidth || outer.bottom - outer.top != kMainWindow.outerHeight) {
        MoveWindow(window, outer.left, outer.top, kMainWindow.outerWidth, kMainWindow.outerHeight, FALSE);
    }
    SetIcons(instance, window);
    MainWindowData fresh;
    fresh.window = window;
    fresh.handlers = g_main.handlers;
    fresh.launcher = g_main.launcher;
    g_main = fresh;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (size_t i = 0; i < kControls.size(); ++i) {
        const ControlDef& control = kControls[i];
        const bool isTimer = control.kind == ControlKind::Timer;
        const DWORD style = control.kind == ControlKind::Button   ? kButtonStyle
                            : control.kind == ControlKind::GroupBox ? kGroupBoxStyle
                                                                    : WS_CHILD;
        HWND child = CreateWindowExA(0, isTimer ? kTimerClassName : "BUTTON", control.caption.data(), style,
                                     control.left, control.top, control.width, control.height, window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        g_main.controls[i] = child;
        if (child && !isTimer) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (child && control.kind == ControlKind::GroupBox) SetWindowSubclass(child, FrameProc, 0, 0);
    }
    g_main.taskManagerCaption = Text(FindControlById(kTaskManagerButtonId)->caption);

    HWND above = HWND_TOP;
    for (int index : kZOrder) {
        HWND child = g_main.controls[index];
        SetWindowPos(child, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = child;
    }
    for (size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].kind != ControlKind::Timer) ShowWindow(g_main.controls[i], SW_SHOWNA);
    }
    return window;
}

bool PreTranslateMainWindowMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN || !g_main.window) return false;
    if (msg.hwnd != g_main.window && GetParent(msg.hwnd) != g_main.window) return false;

    FocusableButtons focusable{};
    for (int number = 1; number <= kButtonCount; ++number) {
        HWND button = MainWindowControl(kFirstButtonId + number);
        focusable[number - 1] = button && IsWindowVisible(button) && IsWindowEnabled(button);
    }
    const KeyPress key{static_cast<uint32_t>(msg.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                       GetKeyState(VK_MENU) < 0};
    const KeyOutcome outcome = PlanMainWindowKey(key, FocusedButtonNumber(msg.hwnd), focusable);
    switch (outcome.verdict) {
        case KeyVerdict::PassOn:
            return false;
        case KeyVerdict::Swallow:
            return true;
        case KeyVerdict::Close:
            SendMessageA(g_main.window, WM_CLOSE, 0, 0);
            return true;
        case KeyVerdict::FocusButton:
            SetFocus(MainWindowControl(kFirstButtonId + outcome.button));
            return true;
    }
    return false;
}

void SetAboutTimerPeriod(int period) {
    const TimerPeriodChange change = PlanTimerPeriod(g_main.aboutTimerPeriod, period);
    HWND timer = MainWindowControl(kTimerControlId);
    if (change.stop) KillTimer(timer, kAboutTimerId);
    if (change.start) SetTimer(timer, kAboutTimerId, static_cast<UINT>(change.period), nullptr);
    g_main.aboutTimerPeriod = change.period;
}

int AboutTimerPeriod() { return g_main.aboutTimerPeriod; }

const Text& TaskManagerButtonCaption() { return g_main.taskManagerCaption; }

void SetTaskManagerButtonCaption(const Text& caption) {
    g_main.taskManagerCaption = caption;
    SetWindowTextA(MainWindowControl(kTaskManagerButtonId), caption.c_str());
}

}  // namespace qb

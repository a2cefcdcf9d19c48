#include "updater/updater_window_win32.h"

#include <commctrl.h>

#include "updater/updater_window_def.h"

namespace qb {

using namespace win;

static_assert(kWsCaption == WS_CAPTION && kWsSysMenu == WS_SYSMENU && kWsMinimizeBox == WS_MINIMIZEBOX &&
              kWsClipChildren == WS_CLIPCHILDREN && kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE &&
              kWsVScroll == WS_VSCROLL && kWsExClientEdge == WS_EX_CLIENTEDGE);
static_assert(kSsLeft == SS_LEFT && kSsCenter == SS_CENTER && kSsEtchedHorz == SS_ETCHEDHORZ &&
              kSsEtchedFrame == SS_ETCHEDFRAME && kSsCenterImage == SS_CENTERIMAGE &&
              kSsEndEllipsis == SS_ENDELLIPSIS && kSsNoPrefix == SS_NOPREFIX);
static_assert(kEsMultiLine == ES_MULTILINE && kEsAutoVScroll == ES_AUTOVSCROLL && kEsReadOnly == ES_READONLY &&
              kPbsSmooth == PBS_SMOOTH);
static_assert(kMbOkCancel == MB_OKCANCEL && kMbIconError == MB_ICONERROR &&
              kMbIconInformation == MB_ICONINFORMATION && kMbTaskModal == MB_TASKMODAL && kIdOk == IDOK &&
              kIdCancel == IDCANCEL);

namespace {

constexpr UINT kTransferEventMessage = WM_APP + 1;
constexpr UINT_PTR kFeedbackSubclassId = 1;
constexpr WPARAM kEndOfText = 0x7FFFFFFF;  // past any text: the edit box puts the caret at its end

struct WindowState {
    HWND window = nullptr;
    HFONT font = nullptr;
    Updater* updater = nullptr;
};

WindowState g_state;  // the program's one window, for its whole life

const char* ClassFor(UpdaterControlKind kind) {
    switch (kind) {
        case UpdaterControlKind::ProgressBar: return PROGRESS_CLASSA;
        case UpdaterControlKind::LogBox: return "EDIT";
        default: return "STATIC";
    }
}

HWND RowWindow(int task, RowControl control) {
    const UpdaterControlDef* def = FindRowTemplate(control);
    return def ? GetDlgItem(g_state.window, RowControlId(def->id, task)) : nullptr;
}

LRESULT CALLBACK FeedbackProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == kTransferEventMessage && g_state.updater) {
        return g_state.updater->OnTransferEvent(static_cast<int>(wParam), static_cast<TaskHandle>(lParam));
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(label, FeedbackProc, kFeedbackSubclassId);
    return DefSubclassProc(label, message, wParam, lParam);
}

void CreateControls(HWND window) {
    for (const UpdaterControlDef& def : kUpdaterControls) {
        const DWORD style = WS_CHILD | def.style | (def.visible ? WS_VISIBLE : 0);
        const DWORD exStyle = def.kind == UpdaterControlKind::LogBox ? WS_EX_CLIENTEDGE : 0;
        HWND control = CreateWindowExA(exStyle, ClassFor(def.kind), def.caption.data(), style, def.left, def.top,
                                       def.width, def.height, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), nullptr, nullptr);
        if (!control) continue;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_state.font), FALSE);
        if (def.kind == UpdaterControlKind::ProgressBar) SendMessageA(control, PBM_SETRANGE32, 0, 100);
        if (def.kind == UpdaterControlKind::LogBox) SendMessageA(control, EM_SETLIMITTEXT, 0, 0);  // no 30000 cap
        if (def.id == kFeedbackLabelId) SetWindowSubclass(control, FeedbackProc, kFeedbackSubclassId, 0);
    }
}

LRESULT CALLBACK UpdaterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            g_state.window = window;
            CreateControls(window);
            g_state.updater->UpdaterStart();
            return 0;
        case WM_CLOSE:
            if (g_state.updater->CanCloseUpdater()) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool Win32UpdaterWindow::Create(HINSTANCE instance, Updater& updater) {
    g_state.updater = &updater;
    g_state.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = UpdaterWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "DEFAULT_ICON");
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kUpdaterWindow.className.data();
    if (!RegisterClassA(&windowClass)) return false;

    const Point origin = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return CreateWindowExA(0, kUpdaterWindow.className.data(), kUpdaterWindow.caption.data(), kUpdaterWindow.style,
                           origin.x, origin.y, kUpdaterWindow.outerWidth, kUpdaterWindow.outerHeight, nullptr,
                           nullptr, instance, nullptr) != nullptr;
}

void Win32UpdaterWindow::Show() {
    ShowWindow(g_state.window, SW_SHOWNORMAL);
    UpdateWindow(g_state.window);
}

void Win32UpdaterWindow::AppendLog(std::string_view text) {
    HWND log = GetDlgItem(g_state.window, kLogBoxId);
    const Text terminated(text);
    SendMessageA(log, EM_SETSEL, kEndOfText, static_cast<LPARAM>(kEndOfText));
    SendMessageA(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(terminated.c_str()));
    SendMessageA(log, EM_SCROLLCARET, 0, 0);
}

Text Win32UpdaterWindow::LogText() {
    HWND log = GetDlgItem(g_state.window, kLogBoxId);
    Text text(static_cast<size_t>(GetWindowTextLengthA(log)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(log, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Win32UpdaterWindow::BuildTaskRow(int task) {
    bool complete = true;
    for (const UpdaterControlDef& def : kUpdaterControls) {
        if (!def.rowTemplate) continue;
        // The copy takes the template's defined place: a live rectangle may already hold
        // the border a static control added to itself.
        const DWORD style = WS_CHILD | def.style | (RowCopyStartsShown(*def.rowTemplate) ? WS_VISIBLE : 0);
        HWND copy = CreateWindowExA(0, ClassFor(def.kind), "", style, def.left, def.top, def.width, def.height,
                                    g_state.window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(RowControlId(def.id, task))),
                                    nullptr, nullptr);
        if (!copy) {
            complete = false;
            continue;
        }
        SendMessageA(copy, WM_SETFONT, reinterpret_cast<WPARAM>(g_state.font), FALSE);
        if (def.kind == UpdaterControlKind::ProgressBar) SendMessageA(copy, PBM_SETRANGE32, 0, 100);
    }
    return complete;
}

void Win32UpdaterWindow::SetRowText(int task, RowControl control, std::string_view text) {
    const Text terminated(text);
    SetWindowTextA(RowWindow(task, control), terminated.c_str());
}

void Win32UpdaterWindow::ShowRowControl(int task, RowControl control, bool shown) {
    ShowWindow(RowWindow(task, control), shown ? SW_SHOWNA : SW_HIDE);
}

void Win32UpdaterWindow::SetRowProgress(int task, int percent) {
    SendMessageA(RowWindow(task, RowControl::Progress), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

HWND Win32UpdaterWindow::FeedbackLabel() const { return GetDlgItem(g_state.window, kFeedbackLabelId); }

int FeedbackLabelSink::Deliver(int code, TaskHandle handle) {
    HWND label = window_.FeedbackLabel();
    if (!label) return 0;
    return static_cast<int>(SendMessageA(label, kTransferEventMessage, static_cast<WPARAM>(code),
                                         static_cast<LPARAM>(handle)));
}

}  // namespace qb

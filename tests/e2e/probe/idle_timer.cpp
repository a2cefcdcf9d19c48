// The idle benchmark's reference: one window whose only work is a 10 ms timer that does
// nothing, the least a program with a dock timer could cost.
#include <windows.h>

namespace {
LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) return 0;
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "IdleTimer";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "IdleTimer", "Idle timer", WS_OVERLAPPEDWINDOW, 377, 248, 270, 271, nullptr,
                                  nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    SetTimer(window, 1, 10, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

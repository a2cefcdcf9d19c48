#include <windows.h>

#include "base/library_win32.h"
#include "base/message_pump.h"
#include "window/dock_win32.h"
#include "window/fade.h"

namespace qb {

namespace {

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

class Win32FadeHost final : public FadeHost {
public:
    Win32FadeHost()
        : setLayered_(LookUp<SetLayeredWindowAttributesFn>("user32.dll", "SetLayeredWindowAttributes")) {}

    void* MainWindow() override { return TheDockState().mainWindow; }
    void MakeLayered(void* window) override {
        // The whole extended style becomes WS_EX_LAYERED alone.
        SetWindowLongA(static_cast<HWND>(window), GWL_EXSTYLE, WS_EX_LAYERED);
    }
    void SetAlpha(void* window, uint8_t alpha) override {
        if (setLayered_) setLayered_(static_cast<HWND>(window), 0, alpha, LWA_ALPHA);
    }
    void Show(void* window) override { ShowWindow(static_cast<HWND>(window), SW_SHOW); }
    uint32_t TickCount() override { return GetTickCount(); }
    void PumpPendingMessages() override { qb::PumpPendingMessages(); }

private:
    SetLayeredWindowAttributesFn setLayered_;
};

}  // namespace

void FadeOutOnClose() {
    Win32FadeHost host;
    FadeOutWith(host);
}

}  // namespace qb

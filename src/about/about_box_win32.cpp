#include "about/about_box_win32.h"

#include <windows.h>

namespace qb {

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;  // the text control of every message box

HWND AsWindow(AboutBox box) { return reinterpret_cast<HWND>(box); }

}  // namespace

void Win32AboutBox::SetTimerPeriod(int32_t period) { setTimerPeriod_(period); }

void Win32AboutBox::ShowBox(const Text& text, const Text& caption) {
    (void)MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TASKMODAL);
}

AboutBox Win32AboutBox::FindBox(const Text& caption) {
    return reinterpret_cast<AboutBox>(FindWindowA(nullptr, caption.c_str()));
}

void Win32AboutBox::SetBoxText(AboutBox box, const Text& text) {
    (void)SetDlgItemTextA(AsWindow(box), kMessageBoxTextId, text.c_str());
}

void Win32AboutBox::PressEnter(AboutBox box) {
    // The box's own dialog loop turns the key into a press of its default button.
    (void)PostMessageA(AsWindow(box), WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace qb

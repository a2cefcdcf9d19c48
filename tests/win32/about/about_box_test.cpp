// A real message box counted down by the real adapter, on a quick timer instead of
// 时钟1关于, and read back from its text control.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/about_box_win32.h"
#include "bytes.h"

namespace qb {
namespace {

struct Countdown {
    UINT_PTR timer = 0;
    int32_t counter = 6;
    int ticks = 0;
    int periodChanges = 0;
    std::vector<std::string> texts;  // the box's text before the first tick, then after each
    int icons = 0;
    int buttons = 0;
    int closeAfterTicks = 0;  // the user's OK after this many ticks; 0 for never
};
Countdown g_run;

std::string BoxText(HWND box) {
    char text[256] = {};
    const UINT length = GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return std::string(text, length);
}

BOOL CALLBACK CountChild(HWND child, LPARAM) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof(name));
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    // The box template has an icon control in any case; without an icon it holds none.
    if (lstrcmpiA(name, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && SendMessageA(child, STM_GETICON, 0, 0)) {
        ++g_run.icons;
    }
    if (lstrcmpiA(name, "Button") == 0) ++g_run.buttons;
    return TRUE;
}

void SetQuickPeriod(int period);

void CALLBACK QuickTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA(nullptr, "关于作者");
    if (box && g_run.ticks == 0) {
        g_run.texts.push_back(BoxText(box));
        EnumChildWindows(box, CountChild, 0);
    }
    if (g_run.closeAfterTicks && g_run.ticks == g_run.closeAfterTicks && box) {
        PostMessageA(box, WM_COMMAND, IDOK, 0);  // the user's OK
        return;
    }
    ++g_run.ticks;
    Win32AboutBox about(SetQuickPeriod);
    AboutTimerTick(about, g_run.counter);
    if (box) g_run.texts.push_back(BoxText(box));
    if (g_run.ticks > 50 && box) PostMessageA(box, WM_COMMAND, IDOK, 0);  // never hang the run
}

void SetQuickPeriod(int period) {
    ++g_run.periodChanges;
    if (period == 0 && g_run.timer) {
        KillTimer(nullptr, g_run.timer);
        g_run.timer = 0;
    } else if (period > 0 && !g_run.timer) {
        g_run.timer = SetTimer(nullptr, 0, 40, QuickTick);
    }
}

Text Tick(const char* countHex) {
    return Bytes("44617374726f77 202020 28") + Bytes(countHex) + Bytes("29 0d0a0d0a 20 5151 a3ba") + "380114527";
}

TEST(Win32AboutBox, CountsDownInTheBoxAndClosesIt) {
    g_run = {};
    Win32AboutBox about(SetQuickPeriod);
    ShowAboutBox(about);  // returns once the box has closed
    const Text opening = Bytes("44617374726f77 0d0a0d0a 20 5151 a3ba") + "380114527";
    EXPECT_EQ(g_run.texts, (std::vector<std::string>{opening, Tick("35"), Tick("34"), Tick("33"), Tick("32"),
                                                     Tick("31"), Tick("30")}));
    EXPECT_EQ(g_run.counter, 6);
    EXPECT_EQ(g_run.timer, 0u) << "the timer is stopped";
    EXPECT_EQ(g_run.icons, 0) << "the about box has no icon";
    EXPECT_EQ(g_run.buttons, 1) << "only OK";
    EXPECT_EQ(FindWindowA(nullptr, "关于作者"), nullptr);
}

TEST(Win32AboutBox, ClosedEarlyTheCountWaitsForTheNextBox) {
    g_run = {};
    g_run.closeAfterTicks = 2;  // OK while it shows (4)
    Win32AboutBox about(SetQuickPeriod);
    ShowAboutBox(about);
    EXPECT_EQ(g_run.texts.back(), Tick("34"));
    // The timer's next tick finds no box and stops it.
    MSG msg;
    for (int i = 0; i < 200 && g_run.timer; ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    EXPECT_EQ(g_run.timer, 0u);
    EXPECT_EQ(g_run.counter, 4);

    g_run.texts.clear();
    g_run.ticks = 0;
    g_run.closeAfterTicks = 0;
    ShowAboutBox(about);
    ASSERT_GE(g_run.texts.size(), 2u);
    EXPECT_EQ(g_run.texts[1], Tick("33")) << "goes on from where it was";
    EXPECT_EQ(g_run.texts.back(), Tick("30"));
    EXPECT_EQ(g_run.counter, 6);
}

}  // namespace
}  // namespace qb

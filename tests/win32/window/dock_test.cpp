// The hook, the dock timer and the fade on the real main window, in-process under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/main_window_win32.h"
#include "base/message_pump.h"
#include "window/dock_win32.h"
#include "window/fade.h"

namespace qb {
namespace {

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps until the condition holds or a generous deadline passes.
template <typename Condition>
bool PumpUntil(Condition condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 5000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return true;
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

class DockTest : public ::testing::Test {
protected:
    void SetUp() override {
        TheDockState() = DockState{};
        justShown_ = 1;
        SetDockJustShownFlag(&justShown_);
        MainWindowHandlers handlers;
        handlers.closeRequested = FadeOutOnClose;
        SetMainWindowHandlers(handlers);
        window_ = BuildMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window_, nullptr);
        ShowWindow(window_, SW_SHOW);
        Pump();
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        Pump();
        SetMainWindowHandlers({});
        SetDockJustShownFlag(nullptr);
    }

    int32_t justShown_ = 1;
    HWND window_ = nullptr;
};

TEST_F(DockTest, HookPassesMessagesUntilTheFirstTickThenClampsAndLimits) {
    ASSERT_TRUE(InstallWindowHook(window_));
    // Before any tick has run, both messages reach the window's own procedure unchanged.
    RECT drag{-20, 50, 250, 321};
    SendMessageA(window_, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(drag.left, -20);
    MINMAXINFO info{};
    info.ptMaxSize = {11, 12};
    SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 0);
    EXPECT_EQ(info.ptMaxTrackSize.y, 0);

    ASSERT_TRUE(PumpUntil([] { return TheDockState().windowWidth > 0; })) << "the dock timer never ticked";
    EXPECT_EQ(TheDockState().windowWidth, 270);
    EXPECT_EQ(TheDockState().windowHeight, 271);
    EXPECT_EQ(TheDockState().screenWidth, 1024);
    EXPECT_EQ(TheDockState().screenHeight, 768);

    drag = {-20, 50, 250, 321};
    SendMessageA(window_, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(drag.left, 0);
    EXPECT_EQ(drag.right, 270);
    info = MINMAXINFO{};
    info.ptMaxSize = {11, 12};
    SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT taskbar{};
    const LONG taskbarHeight =
        GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &taskbar) ? taskbar.bottom - taskbar.top : 30;
    EXPECT_EQ(info.ptMinTrackSize.x, 100);
    EXPECT_EQ(info.ptMinTrackSize.y, 100);
    EXPECT_EQ(info.ptMaxTrackSize.x, 1024);
    EXPECT_EQ(info.ptMaxTrackSize.y, std::max<LONG>(768 - taskbarHeight, 271));
    EXPECT_EQ(info.ptMaxSize.x, 11);
}

TEST_F(DockTest, DocksAtTheLeftEdgeAndComesBackAtTheStrip) {
    ASSERT_TRUE(InstallWindowHook(window_));
    MoveWindow(window_, 0, 100, 270, 271, TRUE);
    SetCursorPos(100, 200);  // inside once: the just-shown hold ends
    ASSERT_TRUE(PumpUntil([this] { return justShown_ == 0; }));
    SetCursorPos(600, 600);
    ASSERT_TRUE(PumpUntil([this] { return WindowRect(window_).left == -269; })) << WindowRect(window_).left;
    const RECT hidden = WindowRect(window_);
    EXPECT_EQ(hidden.right - hidden.left, 270) << "the slide must keep the size";
    EXPECT_EQ(hidden.bottom - hidden.top, 271);
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetCursorPos(0, 200);
    ASSERT_TRUE(PumpUntil([this] { return WindowRect(window_).left == 0; }));
    ASSERT_TRUE(PumpUntil([this] { return (GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
}

std::vector<int> g_alphas;
int g_samples = 0;

void CALLBACK SampleAlpha(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = static_cast<HWND>(TheDockState().mainWindow);
    BYTE alpha = 0;
    DWORD flags = 0;
    ++g_samples;
    if (IsWindow(window) && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) &&
        GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA)) {
        g_alphas.push_back(alpha);
    }
}

LONG g_exStyleAfterFade = 0;
int g_alphaAfterFade = -1;

TEST_F(DockTest, CloseFadesInLayeredStepsThenDestroysTheWindow) {
    MainWindowHandlers handlers;
    handlers.closeRequested = [] {
        FadeOutOnClose();
        HWND window = static_cast<HWND>(TheDockState().mainWindow);
        g_exStyleAfterFade = GetWindowLongA(window, GWL_EXSTYLE);
        BYTE alpha = 0;
        if (GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr)) g_alphaAfterFade = alpha;
    };
    SetMainWindowHandlers(handlers);
    ASSERT_TRUE(InstallWindowHook(window_));
    g_alphas.clear();
    g_samples = 0;
    const UINT_PTR sampler = SetTimer(nullptr, 0, 1, SampleAlpha);  // dispatched by the fade's own pumping
    SendMessageA(window_, WM_CLOSE, 0, 0);
    KillTimer(nullptr, sampler);
    EXPECT_FALSE(IsWindow(window_)) << "the close must go through after the fade";
    ASSERT_FALSE(g_alphas.empty()) << "no layered step was seen in " << g_samples << " samples";
    for (size_t i = 0; i < g_alphas.size(); ++i) {
        EXPECT_EQ((254 - g_alphas[i]) % 3, 0) << g_alphas[i];
        if (i) {
            EXPECT_LE(g_alphas[i], g_alphas[i - 1]);
        }
    }
    EXPECT_EQ(g_alphaAfterFade, 2) << "the fade ends at alpha 2";
    // The whole extended style was replaced (the system keeps its window edge).
    EXPECT_EQ(g_exStyleAfterFade & ~WS_EX_WINDOWEDGE, WS_EX_LAYERED);
}

int g_fades = 0;

void CALLBACK CloseAgain(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    SendMessageA(static_cast<HWND>(TheDockState().mainWindow), WM_CLOSE, 0, 0);
}

TEST_F(DockTest, ASecondCloseDuringTheFadeIsLetGo) {
    g_fades = 0;
    MainWindowHandlers handlers;
    handlers.closeRequested = [] {
        ++g_fades;
        FadeOutOnClose();
    };
    SetMainWindowHandlers(handlers);
    ASSERT_TRUE(InstallWindowHook(window_));
    SetTimer(nullptr, 0, 1, CloseAgain);  // fires inside the first fade's pauses
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_fades, 1);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(DockTest, EndOfSessionQueryFadesAnswersYesAndLeavesTheWindowFaded) {
    ASSERT_TRUE(InstallWindowHook(window_));
    EXPECT_EQ(SendMessageA(window_, WM_QUERYENDSESSION, 0, 0), TRUE);
    ASSERT_TRUE(IsWindow(window_)) << "the query alone does not destroy the window";
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window_, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 2);
}

TEST_F(DockTest, AQuitQueuedBeforeTheCloseSurvivesTheFade) {
    ASSERT_TRUE(InstallWindowHook(window_));
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 7, 0);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_)) << "each pause still ends by time";
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u) << "the fade's pumping must leave a queued WM_QUIT alone";
}

}  // namespace
}  // namespace qb

// The real main window, built in-process under Wine on a 1024 x 768 desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_win32.h"
#include "bytes.h"

namespace qb {
namespace {

std::string TextOf(HWND window) {
    char buffer[512] = {};
    const int length = GetWindowTextA(window, buffer, sizeof(buffer));
    return std::string(buffer, static_cast<size_t>(length));
}

void DrainMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // the destroyed window's PostQuitMessage
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::vector<std::string> g_calls;

struct RecordingLauncher final : Launcher {
    bool RunProgram(const Text& commandLine) override {
        g_calls.push_back("run[" + commandLine + "]");
        return true;
    }
    void ShellOpen(const Text& file, const Text& parameters) override {
        g_calls.push_back("open[" + file + "][" + parameters + "]");
    }
    std::optional<Text> WindowsDirectory() override { return Text("C:\\windows"); }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        SetMainWindowLauncher(&launcher_);
        MainWindowHandlers handlers;
        handlers.taskManagerToggle = [] { g_calls.push_back("task manager toggle"); };
        handlers.checkForUpdate = [] { g_calls.push_back("check for update"); };
        handlers.showAbout = [] { g_calls.push_back("about"); };
        handlers.closeRequested = [] { g_calls.push_back("close requested"); };
        SetMainWindowHandlers(handlers);
        window_ = BuildMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        DrainMessages();
        SetMainWindowLauncher(nullptr);
        SetMainWindowHandlers({});
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    void Show() {
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        DrainMessages();
    }
    HWND Button(int number) const { return MainWindowControl(1000 + number); }

    RecordingLauncher launcher_;
    HWND window_ = nullptr;
};

TEST_F(MainWindowTest, ClassStylesAndGeometry) {
    char className[64] = {};
    GetClassNameA(window_, className, sizeof(className));
    EXPECT_STREQ(className, "WTWindow");
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "WTWindow", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    EXPECT_EQ(wc.hbrBackground, GetStockObject(NULL_BRUSH));

    const DWORD style = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(style & ~static_cast<DWORD>(WS_CLIPSIBLINGS), 0x02CA0000u) << std::hex << style;
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE));
    // Created with 0; the system's own WS_EX_WINDOWEDGE for a captioned frame is all there is.
    EXPECT_EQ(exStyle & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), 0u) << std::hex << exStyle;
    EXPECT_EQ(GetParent(window_), nullptr);
    EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(TextOf(window_), "Quimbrel");

    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.left, 377);
    EXPECT_EQ(outer.top, 248);
    EXPECT_EQ(outer.right - outer.left, 270);
    EXPECT_EQ(outer.bottom - outer.top, 271);

    HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0)), guiFont);
    EXPECT_NE(SendMessageA(window_, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0), 0);

    // Maximize from the system menu or a keyboard shortcut leaves the size alone.
    Show();
    SendMessageA(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    SendMessageA(window_, WM_SYSCOMMAND, SC_SIZE, 0);
    DrainMessages();
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.right - outer.left, 270);
    EXPECT_EQ(outer.bottom - outer.top, 271);
    EXPECT_FALSE(IsZoomed(window_));
}

struct ExpectedControl {
    int id;
    const char* className;
    DWORD style;
    const char* captionHex;
    int left, top, width, height;
};

constexpr DWORD kButton = 0x54012F00;    // WS_CHILD|WS_VISIBLE|WS_CLIPSIBLINGS|WS_TABSTOP|MULTILINE|VCENTER|CENTER
constexpr DWORD kFrame = 0x54000107;     // WS_CHILD|WS_VISIBLE|WS_CLIPSIBLINGS|BS_LEFT|BS_GROUPBOX
constexpr DWORD kTimer = 0x40000000;     // WS_CHILD, never visible

// Top of the z-order first.
const ExpectedControl kExpected[] = {
    {3001, "QuimbrelTimer", kTimer, "", 80, 192, 8, 16},
    {1021, "Button", kButton, "b4c5c5ccbcecb2e9", 10, 39, 64, 24},
    {1020, "Button", kButton, "c0acbbf8d5fbc0ed", 10, 129, 64, 24},
    {1019, "Button", kButton, "d4ecd7d6b3ccd0f2", 190, 129, 64, 24},
    {1018, "Button", kButton, "c9e8b1b8b9dcc0ed", 10, 69, 64, 24},
    {1017, "Button", kButton, "b8a8d6fab9dcc0ed", 10, 99, 64, 24},
    {1016, "Button", kButton, "d7e9bcfeb7fecef1", 10, 159, 64, 24},
    {1015, "Button", kButton, "d7cad4b4bce0cad3c6f7", 89, 159, 88, 24},
    {1014, "Button", kButton, "77696e646f7773b0e6b1be", 89, 39, 88, 24},
    {1013, "Button", kButton, "cfb5cdb3d0c5cfa2", 190, 189, 64, 24},
    {1012, "Button", kButton, "c3fcc1eecce1cabeb7fb", 89, 69, 88, 24},
    {1011, "Button", kButton, "cac2bcfeb2e9bfb4c6f720", 89, 129, 88, 24},
    {1010, "Button", kButton, "d4b6b3ccd7c0c3e6", 10, 189, 64, 24},
    {1009, "Button", kButton, "d7a2b2e1b1ed", 190, 159, 64, 24},
    {1008, "Button", kButton, "bcc6cbe3c6f7", 190, 39, 64, 24},
    {1007, "Button", kButton, "d0d4c4dcbce0cad3c6f7", 89, 99, 88, 24},
    {1006, "Button", kButton, "c6c1c4bbbcfcc5cc", 190, 99, 64, 24},
    {1005, "Button", kButton, "bbadcdbcc3e6b0e5", 190, 69, 64, 24},
    {1004, "Button", kButton, "44697265637458d0c5cfa2", 89, 9, 88, 24},
    {1003, "Button", kButton, "c8cecef1b9dcc0edc6f7bfaa", 89, 189, 88, 24},
    {1002, "Button", kButton, "bcc6cac2b1be", 190, 9, 64, 24},
    {1001, "Button", kButton, "b4c5c5ccb9dcc0ed", 10, 9, 64, 24},
    {2003, "Button", kFrame, "", 186, -3, 72, 220},
    {2002, "Button", kFrame, "", 85, -3, 96, 220},
    {2001, "Button", kFrame, "", 6, -3, 72, 220},
};

TEST_F(MainWindowTest, EveryControlInItsPlaceAndZOrder) {
    HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND child = GetWindow(window_, GW_CHILD);
    for (const ExpectedControl& expected : kExpected) {
        ASSERT_NE(child, nullptr) << "z-order ends before control " << expected.id;
        EXPECT_EQ(GetDlgCtrlID(child), expected.id) << "z-order";
        char className[64] = {};
        GetClassNameA(child, className, sizeof(className));
        EXPECT_STRCASEEQ(className, expected.className) << expected.id;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), expected.style) << expected.id;
        EXPECT_EQ(GetWindowLongA(child, GWL_EXSTYLE), 0) << expected.id;
        EXPECT_EQ(TextOf(child), Bytes(expected.captionHex)) << expected.id;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, expected.left) << expected.id;
        EXPECT_EQ(r.top, expected.top) << expected.id;
        EXPECT_EQ(r.right - r.left, expected.width) << expected.id;
        EXPECT_EQ(r.bottom - r.top, expected.height) << expected.id;
        if (expected.style != kTimer) {
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)), guiFont) << expected.id;
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "a control more than expected";
}

struct ExpectedMenuItem {
    int depth;
    const char* captionHex;
    bool popup;
};

TEST_F(MainWindowTest, MenuTree) {
    const ExpectedMenuItem expected[] = {
        {0, "b9d8bbfa284729", true},              // 关机(G): no access key
        {1, "d7a2cffa28264c29", false},           // 注销(&L)
        {1, "d6d8d0c2c6f4b6af28265229", false},   // 重新启动(&R)
        {1, "b9d8bbfa28265529", false},           // 关机(&U)
        {0, "b5e7c4d428264429", true},            // 电脑(&D)
        {1, "ced2b5c4b5e7c4d428265729", false},   // 我的电脑(&W)
        {1, "ced2b5c4cec4b5b528264429", false},   // 我的文档(&D)
        {1, "bfd8d6c6c3e6b0e528264229", false},   // 控制面板(&B)
        {0, "b2cbb5a528264829", true},            // 菜单(&H)
        {1, "c9fdbcb6", true},                    // 升级
        {2, "bcecb2e2c9fdbcb6", false},           // 检测升级
        {1, "b9d8d3da28265929", false},           // 关于(&Y)
    };
    std::vector<ExpectedMenuItem> seen;
    std::vector<std::string> captions;
    struct Walker {
        std::vector<ExpectedMenuItem>& seen;
        std::vector<std::string>& captions;
        void Walk(HMENU menu, int depth) {
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                char text[128] = {};
                MENUITEMINFOA info{};
                info.cbSize = sizeof(info);
                info.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_STATE | MIIM_FTYPE;
                info.dwTypeData = text;
                info.cch = sizeof(text) - 1;
                ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
                EXPECT_EQ(info.fState, 0u) << text;  // enabled, not ticked, not default
                EXPECT_EQ(info.fType, static_cast<UINT>(MFT_STRING)) << text;
                captions.emplace_back(text, info.cch);
                seen.push_back({depth, nullptr, info.hSubMenu != nullptr});
                if (info.hSubMenu) Walk(info.hSubMenu, depth + 1);
            }
        }
    } walker{seen, captions};
    HMENU bar = GetMenu(window_);
    ASSERT_NE(bar, nullptr);
    walker.Walk(bar, 0);
    ASSERT_EQ(seen.size(), std::size(expected));
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].depth, expected[i].depth) << i;
        EXPECT_EQ(seen[i].popup, expected[i].popup) << i;
        EXPECT_EQ(captions[i], Bytes(expected[i].captionHex)) << i;
    }
}

MSG KeyDown(HWND target, WPARAM key) {
    MSG msg{};
    msg.hwnd = target;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    return msg;
}

void HoldShift(bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST_F(MainWindowTest, TabAndShiftTabCycleTheButtonsByNumber) {
    Show();
    SetFocus(Button(1));
    ASSERT_EQ(GetFocus(), Button(1));
    for (int step = 1; step <= 21; ++step) {
        MSG msg = KeyDown(GetFocus(), VK_TAB);
        EXPECT_TRUE(PreTranslateMainWindowMessage(msg));
        EXPECT_EQ(GetFocus(), Button(step % 21 + 1)) << "Tab from 按钮" << step;
    }
    HoldShift(true);
    for (int step = 1; step <= 21; ++step) {
        const int from = (21 - step + 1) % 21 + 1;  // 1, 21, 20, ... 2
        ASSERT_EQ(GetFocus(), Button(from));
        MSG msg = KeyDown(GetFocus(), VK_TAB);
        EXPECT_TRUE(PreTranslateMainWindowMessage(msg));
        EXPECT_EQ(GetFocus(), Button(from == 1 ? 21 : from - 1)) << "Shift+Tab from 按钮" << from;
    }
    HoldShift(false);
    // A disabled button is passed over.
    EnableWindow(Button(5), FALSE);
    SetFocus(Button(4));
    MSG msg = KeyDown(GetFocus(), VK_TAB);
    PreTranslateMainWindowMessage(msg);
    EXPECT_EQ(GetFocus(), Button(6));
}

TEST_F(MainWindowTest, EscClosesThroughTheCloseHandlingAndShiftEscDoesNot) {
    Show();
    SetFocus(Button(7));
    HoldShift(true);
    MSG shifted = KeyDown(Button(7), VK_ESCAPE);
    PreTranslateMainWindowMessage(shifted);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_TRUE(g_calls.empty());
    HoldShift(false);

    MSG esc = KeyDown(Button(7), VK_ESCAPE);
    EXPECT_TRUE(PreTranslateMainWindowMessage(esc));
    EXPECT_FALSE(IsWindow(window_)) << "Esc must close like the close box";
    EXPECT_EQ(g_calls, std::vector<std::string>{"close requested"});
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(MainWindowTest, EnterAndArrowsDoNothing) {
    Show();
    SetFocus(Button(8));
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_LEFT}, WPARAM{VK_RIGHT}, WPARAM{VK_UP}, WPARAM{VK_DOWN}}) {
        MSG msg = KeyDown(Button(8), key);
        EXPECT_TRUE(PreTranslateMainWindowMessage(msg)) << key;
        EXPECT_EQ(GetFocus(), Button(8)) << key;
    }
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(MainWindowTest, ClicksAndMenuCommandsReachTheirHandlers) {
    Show();
    SendMessageA(Button(8), BM_CLICK, 0, 0);
    SendMessageA(Button(1), BM_CLICK, 0, 0);
    SendMessageA(Button(3), BM_CLICK, 0, 0);
    SendMessageA(Button(8), BM_CLICK, 0, 0);
    // Menu selections arrive as WM_COMMAND with the item's id and no control.
    HMENU bar = GetMenu(window_);
    const UINT restart = GetMenuItemID(GetSubMenu(bar, 0), 1);
    const UINT myDocuments = GetMenuItemID(GetSubMenu(bar, 1), 1);
    const UINT checkForUpdate = GetMenuItemID(GetSubMenu(GetSubMenu(bar, 2), 0), 0);
    const UINT about = GetMenuItemID(GetSubMenu(bar, 2), 1);
    for (UINT id : {restart, myDocuments, checkForUpdate, about}) SendMessageA(window_, WM_COMMAND, id, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{
                           "run[calc]",
                           "open[diskmgmt.msc][diskmgmt.msc]",
                           "task manager toggle",
                           "run[calc]",
                           "run[shutdown -r]",
                           "run[C:\\windows\\explorer.exe ::{450D8FBA-AD25-11D0-98A8-0800361B1103}  ]",
                           "check for update",
                           "about",
                       }));
}

TEST_F(MainWindowTest, AboutTimerTicksOnlyWhileItHasAPeriod) {
    static int ticks = 0;
    ticks = 0;
    MainWindowHandlers handlers;
    handlers.aboutTimerTick = [] { ++ticks; };
    SetMainWindowHandlers(handlers);
    EXPECT_EQ(AboutTimerPeriod(), 0);
    SetAboutTimerPeriod(20);
    const DWORD start = GetTickCount();
    while (ticks < 2 && GetTickCount() - start < 5000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        DrainMessages();
    }
    EXPECT_GE(ticks, 2);
    SetAboutTimerPeriod(-5);
    EXPECT_EQ(AboutTimerPeriod(), 0);
    DrainMessages();
    const int stopped = ticks;
    Sleep(100);
    DrainMessages();
    EXPECT_EQ(ticks, stopped) << "a stopped timer ticked";
}

}  // namespace
}  // namespace qb

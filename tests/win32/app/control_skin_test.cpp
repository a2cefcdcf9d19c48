// The skin on real controls under Wine: each control is rendered into a bitmap of our
// own and its pixels are read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_skin_win32.h"

namespace qb {
namespace {

constexpr COLORREF kFrame = RGB(123, 158, 189);
constexpr COLORREF kUntouched = RGB(255, 0, 255);

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> data;
    COLORREF At(int x, int y) const { return data[static_cast<size_t>(y * width + x)]; }
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

std::string Hex(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d,%d,%d", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

// A top-down 32-bit bitmap filled with a colour no control paints, then `draw` into it.
template <typename Draw>
Pixels Capture(int width, int height, Draw draw) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH marker = CreateSolidBrush(kUntouched);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, marker);
    DeleteObject(marker);
    draw(dc);
    GdiFlush();
    Pixels pixels{width, height, {}};
    const auto* raw = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) {
        const DWORD p = raw[i];
        pixels.data.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

Pixels Render(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    return Capture(client.right, client.bottom, [control](HDC dc) {
        SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
}

// What the screen shows of the control after a real paint.
Pixels OnScreen(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(control, &client);
    return Capture(client.right, client.bottom, [control, &client](HDC dc) {
        HDC source = GetDC(control);
        BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
        ReleaseDC(control, source);
    });
}

// The four edges' midpoints of a push button are frame.
void ExpectFrame(const Pixels& p, const char* what) {
    ASSERT_GT(p.width, 4) << what;
    ASSERT_GT(p.height, 4) << what;
    const POINT edges[] = {
        {p.width / 2, 0}, {p.width / 2, p.height - 1}, {0, p.height / 2}, {p.width - 1, p.height / 2}};
    for (const POINT& at : edges) {
        EXPECT_EQ(Hex(p.At(at.x, at.y)), Hex(kFrame)) << what << " at " << at.x << "," << at.y;
    }
}

// Rows of the caption: bands of rows holding dark text pixels, inside the frame and ring.
std::vector<std::pair<int, int>> TextBands(const Pixels& p) {
    std::vector<std::pair<int, int>> bands;
    bool inBand = false;
    for (int y = 3; y < p.height - 3; ++y) {
        bool dark = false;
        for (int x = 3; x < p.width - 3 && !dark; ++x) {
            const COLORREF c = p.At(x, y);
            dark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
        }
        if (dark && !inBand) bands.push_back({y, y});
        if (dark) bands.back().second = y;
        inBand = dark;
    }
    return bands;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class ControlSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA host{};
        if (!GetClassInfoA(GetModuleHandleA(nullptr), "QbSkinTestHost", &host)) {
            host.lpfnWndProc = HostProc;
            host.hInstance = GetModuleHandleA(nullptr);
            host.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            host.lpszClassName = "QbSkinTestHost";
            ASSERT_TRUE(RegisterClassA(&host));
        }
        host_ = CreateWindowExA(0, "QbSkinTestHost", "skin test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                                420, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(host_);
        for (HFONT font : fonts_) DeleteObject(font);
    }
    HWND Button(const char* caption, DWORD style, int x, int y, int width, int height) {
        HWND button = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | style, x, y, width, height, host_,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return button;
    }
    HFONT Font(int height) {
        fonts_.push_back(CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                     "Tahoma"));
        return fonts_.back();
    }

    HWND host_ = nullptr;
    std::vector<HFONT> fonts_;
};

TEST_F(ControlSkinTest, ButtonsThereBeforeAndMadeAfterArePaintedWithTheBlueFrame) {
    // First in this file, so the skin is still off for the first button unless another
    // file's test turned it on before.
    HWND before = Button("Before", BS_PUSHBUTTON, 10, 10, 90, 26);
    ASSERT_TRUE(EnableControlSkin(1));
    HWND after = Button("After", BS_PUSHBUTTON | BS_MULTILINE, 10, 50, 90, 26);
    HWND defaulted = Button("Default", BS_DEFPUSHBUTTON, 10, 90, 90, 26);
    ShowWindow(host_, SW_SHOWNA);
    ExpectFrame(Render(before), "button made before the skin");
    ExpectFrame(Render(after), "button made after");
    ExpectFrame(Render(defaulted), "default button");
    ExpectFrame(OnScreen(after), "button on the screen");
    // The skin paints; it never turns a control owner-drawn or touches its styles.
    EXPECT_EQ(GetWindowLongA(after, GWL_STYLE),
              static_cast<LONG>(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE));
    EXPECT_EQ(GetWindowLongA(defaulted, GWL_STYLE), static_cast<LONG>(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON));
    EXPECT_FALSE(EnableControlSkin(7)) << "there is no scheme 7";
}

TEST_F(ControlSkinTest, FiveStatesAUserCanTellApart) {
    ASSERT_TRUE(EnableControlSkin(1));
    ShowWindow(host_, SW_SHOW);
    SetForegroundWindow(host_);
    HWND other = Button("Other", BS_PUSHBUTTON, 120, 10, 90, 26);
    HWND button = Button("State", BS_PUSHBUTTON, 10, 10, 90, 26);
    SetFocus(other);

    struct Shot {
        const char* state;
        Pixels pixels;
    };
    std::vector<Shot> shots;
    shots.push_back({"normal", Render(button)});
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    shots.push_back({"hot", Render(button)});
    SendMessageA(button, WM_MOUSELEAVE, 0, 0);
    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    shots.push_back({"pressed", Render(button)});
    SendMessageA(button, BM_SETSTATE, FALSE, 0);
    SetFocus(button);
    ASSERT_EQ(GetFocus(), button);
    shots.push_back({"focused", Render(button)});
    SetFocus(other);
    EnableWindow(button, FALSE);
    shots.push_back({"disabled", Render(button)});
    EnableWindow(button, TRUE);
    EXPECT_EQ(Render(button), shots[0].pixels) << "back to normal after all that";

    for (size_t i = 0; i < shots.size(); ++i) {
        ExpectFrame(shots[i].pixels, shots[i].state);
        for (size_t j = 0; j < i; ++j) {
            EXPECT_NE(shots[i].pixels, shots[j].pixels) << shots[i].state << " looks like " << shots[j].state;
        }
    }
}

TEST_F(ControlSkinTest, TheCaptionWrapsAsTheStyleAsksInTheControlsOwnFont) {
    ASSERT_TRUE(EnableControlSkin(1));
    const char* words = "ab cd ef gh ij";
    HWND oneLine = Button(words, BS_PUSHBUTTON, 10, 10, 50, 60);
    HWND wrapped = Button(words, BS_PUSHBUTTON | BS_MULTILINE, 70, 10, 50, 60);
    EXPECT_EQ(TextBands(Render(oneLine)).size(), 1u);
    EXPECT_GE(TextBands(Render(wrapped)).size(), 2u);

    HWND small = Button("Ab", BS_PUSHBUTTON, 130, 10, 80, 60);
    HWND large = Button("Ab", BS_PUSHBUTTON, 220, 10, 80, 60);
    SendMessageA(small, WM_SETFONT, reinterpret_cast<WPARAM>(Font(10)), FALSE);
    SendMessageA(large, WM_SETFONT, reinterpret_cast<WPARAM>(Font(30)), FALSE);
    const auto smallBands = TextBands(Render(small));
    const auto largeBands = TextBands(Render(large));
    ASSERT_EQ(smallBands.size(), 1u);
    ASSERT_EQ(largeBands.size(), 1u);
    EXPECT_GT(largeBands[0].second - largeBands[0].first, 2 * (smallBands[0].second - smallBands[0].first));
    // Centred both ways by default: the band sits about the middle.
    const int middle = (largeBands[0].first + largeBands[0].second) / 2;
    EXPECT_NEAR(middle, 30, 4);
}

TEST_F(ControlSkinTest, GroupBoxDrawsItsFrameAndLeavesItsInsideAlone) {
    ASSERT_TRUE(EnableControlSkin(1));
    HWND group = Button("", BS_GROUPBOX, 10, 10, 120, 80);
    HWND captioned = Button("Frame", BS_GROUPBOX, 140, 10, 120, 80);
    for (HWND box : {group, captioned}) {
        const Pixels p = Render(box);
        EXPECT_EQ(Hex(p.At(0, 40)), Hex(kFrame)) << "left edge";
        EXPECT_EQ(Hex(p.At(119, 40)), Hex(kFrame)) << "right edge";
        EXPECT_EQ(Hex(p.At(60, 79)), Hex(kFrame)) << "bottom edge";
        EXPECT_EQ(Hex(p.At(60, 40)), Hex(kUntouched)) << "the inside belongs to what lies under it";
    }
    // The top edge runs through the caption's line, interrupted by the caption itself.
    const Pixels plain = Render(group);
    int top = -1;
    for (int y = 0; y < 20 && top < 0; ++y) {
        if (plain.At(60, y) == kFrame) top = y;
    }
    ASSERT_GE(top, 0) << "no top edge";
    EXPECT_NE(Render(captioned).At(10, top), kFrame) << "the caption interrupts the frame";
}

TEST_F(ControlSkinTest, CheckBoxesKeepTheSystemsPainting) {
    ASSERT_TRUE(EnableControlSkin(1));
    HWND check = Button("Check", BS_AUTOCHECKBOX, 10, 10, 100, 24);
    const Pixels p = Render(check);
    int frameColoured = 0;
    for (COLORREF c : p.data) frameColoured += c == kFrame;
    EXPECT_EQ(frameColoured, 0);
}

struct BoxVisit {
    int ticks = 0;
    bool found = false;
    DWORD buttonStyle = 0;
    Pixels button;
};
BoxVisit g_visit;

void CALLBACK LookAtTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA(nullptr, "Skinned box");
    if (!box && ++g_visit.ticks < 100) return;
    KillTimer(nullptr, timer);
    if (!box) return;
    HWND ok = GetDlgItem(box, IDOK);
    if (ok) {
        g_visit.found = true;
        g_visit.buttonStyle = static_cast<DWORD>(GetWindowLongA(ok, GWL_STYLE));
        g_visit.button = Render(ok);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(ControlSkinTest, AMessageBoxButtonIsSkinnedToo) {
    ASSERT_TRUE(EnableControlSkin(1));
    g_visit = {};
    SetTimer(nullptr, 0, 30, LookAtTheBox);
    MessageBoxA(nullptr, "Skinned?", "Skinned box", MB_OK | MB_TASKMODAL);
    ASSERT_TRUE(g_visit.found) << "the box's OK button was not found";
    ExpectFrame(g_visit.button, "message box button");
    EXPECT_NE(g_visit.buttonStyle & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
}

}  // namespace
}  // namespace qb

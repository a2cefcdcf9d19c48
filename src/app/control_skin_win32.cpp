#include "app/control_skin_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/control_skin.h"

namespace qb {

namespace st = skin::style;
static_assert(st::kTypeMask == BS_TYPEMASK && st::kPushButton == BS_PUSHBUTTON &&
              st::kDefPushButton == BS_DEFPUSHBUTTON && st::kGroupBox == BS_GROUPBOX && st::kIcon == BS_ICON &&
              st::kBitmap == BS_BITMAP && st::kLeft == BS_LEFT && st::kRight == BS_RIGHT &&
              st::kCentre == BS_CENTER && st::kTop == BS_TOP && st::kBottom == BS_BOTTOM &&
              st::kVCentre == BS_VCENTER && st::kMultiLine == BS_MULTILINE && st::kExRight == WS_EX_RIGHT);

namespace {

constexpr UINT_PTR kSkinSubclassId = 1;

// Both live for the rest of the run on purpose: the skin is never turned off.
const skin::Scheme* g_scheme = nullptr;
HHOOK g_creationHook = nullptr;

COLORREF Ref(skin::Colour colour) { return RGB(colour.red, colour.green, colour.blue); }

// A solid rectangle without a brush to make and free.
void Fill(HDC dc, int left, int top, int right, int bottom, skin::Colour colour) {
    if (right <= left || bottom <= top) return;
    const RECT area{left, top, right, bottom};
    SetBkColor(dc, Ref(colour));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

// A one-pixel outline inset by `inset`, its four corner pixels left out so it rounds off.
void RoundedOutline(HDC dc, int width, int height, int inset, skin::Colour colour) {
    const int l = inset, t = inset, r = width - inset, b = height - inset;
    Fill(dc, l + 1, t, r - 1, t + 1, colour);
    Fill(dc, l + 1, b - 1, r - 1, b, colour);
    Fill(dc, l, t + 1, l + 1, b - 1, colour);
    Fill(dc, r - 1, t + 1, r, b - 1, colour);
}

void Outline(HDC dc, const RECT& box, skin::Colour colour) {
    Fill(dc, box.left, box.top, box.right, box.top + 1, colour);
    Fill(dc, box.left, box.bottom - 1, box.right, box.bottom, colour);
    Fill(dc, box.left, box.top, box.left + 1, box.bottom, colour);
    Fill(dc, box.right - 1, box.top, box.right, box.bottom, colour);
}

void DottedOutline(HDC dc, const RECT& box, skin::Colour colour) {
    const COLORREF ref = Ref(colour);
    for (int x = box.left; x < box.right; x += 2) {
        SetPixelV(dc, x, box.top, ref);
        SetPixelV(dc, x, box.bottom - 1, ref);
    }
    for (int y = box.top; y < box.bottom; y += 2) {
        SetPixelV(dc, box.left, y, ref);
        SetPixelV(dc, box.right - 1, y, ref);
    }
}

// What the parent paints behind the control: the system asks it the same way.
HBRUSH ParentBackground(HWND control, HDC dc, UINT message) {
    HWND parent = GetParent(control);
    if (!parent) parent = control;
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    if (!brush) {
        brush = reinterpret_cast<HBRUSH>(DefWindowProcA(parent, message, reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(control)));
    }
    return brush;
}

HFONT ControlFont(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

std::string CaptionOf(HWND control) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

UINT DrawFlags(const skin::TextLayout& layout) {
    UINT flags = layout.wrap ? DT_WORDBREAK : DT_SINGLELINE;
    if (layout.horizontal == skin::Align::Centre) flags |= DT_CENTER;
    if (layout.horizontal == skin::Align::End) flags |= DT_RIGHT;
    return flags;
}

// The caption's own size, at most `maxWidth` wide, as DrawText lays it out.
SIZE MeasureCaption(HDC dc, const std::string& text, UINT flags, int maxWidth) {
    RECT measured{0, 0, std::max(maxWidth, 1), 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
    return {measured.right - measured.left, measured.bottom - measured.top};
}

int Place(skin::Align align, int start, int end, int size) {
    switch (align) {
        case skin::Align::Start:
            return start;
        case skin::Align::End:
            return end - size;
        case skin::Align::Centre:
            break;
    }
    return start + (end - start - size) / 2;
}

void DrawCaption(HDC dc, const std::string& text, const RECT& area, const skin::TextLayout& layout,
                 skin::Colour colour) {
    if (text.empty()) return;
    const UINT flags = DrawFlags(layout);
    const SIZE size = MeasureCaption(dc, text, flags, area.right - area.left);
    // DrawText centres only single lines itself; wrapped captions are placed here.
    const int top = Place(layout.vertical, area.top, area.bottom, size.cy);
    RECT placed{area.left, top, area.right, top + size.cy};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Ref(colour));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &placed, flags);
}

void PaintPushButton(HWND button, HDC target, bool hot) {
    RECT client;
    GetClientRect(button, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return;

    // Drawn off-screen and copied in one go, so a state change never flickers.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, ControlFont(button));

    const auto style = static_cast<uint32_t>(GetWindowLongA(button, GWL_STYLE));
    skin::PushState state;
    state.enabled = IsWindowEnabled(button) != FALSE;
    state.pressed = (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    state.hot = hot;
    state.focused = GetFocus() == button;
    state.isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const skin::PushLook look = skin::PushLookFor(*g_scheme, state);

    FillRect(dc, &client, ParentBackground(button, dc, WM_CTLCOLORBTN));  // shows at the rounded corners
    const int rows = std::max(height - 3, 1);
    for (int y = 1; y < height - 1; ++y) {
        Fill(dc, 1, y, width - 1, y + 1, skin::Mix(look.faceTop, look.faceBottom, y - 1, rows));
    }
    RoundedOutline(dc, width, height, 0, look.frame);
    // The inner corner pixels soften the rounding.
    const skin::Colour cornerTop = skin::Mix(look.frame, look.faceTop, 1, 2);
    const skin::Colour cornerBottom = skin::Mix(look.frame, look.faceBottom, 1, 2);
    SetPixelV(dc, 1, 1, Ref(cornerTop));
    SetPixelV(dc, width - 2, 1, Ref(cornerTop));
    SetPixelV(dc, 1, height - 2, Ref(cornerBottom));
    SetPixelV(dc, width - 2, height - 2, Ref(cornerBottom));
    int inset = 1;
    if (look.ring) RoundedOutline(dc, width, height, inset++, *look.ring);
    if (look.highlight) RoundedOutline(dc, width, height, inset, *look.highlight);

    RECT textArea{3, 3, width - 3, height - 3};
    OffsetRect(&textArea, look.textShift, look.textShift);
    DrawCaption(dc, CaptionOf(button), textArea, skin::LayoutForStyle(style, GetWindowLongA(button, GWL_EXSTYLE)),
                look.text);
    if (look.focusCue) DottedOutline(dc, RECT{4, 4, width - 4, height - 4}, *look.focusCue);

    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// A group box draws its frame and caption only: its inside belongs to whatever lies
// under it, so it is never filled here.
void PaintGroupBox(HWND group, HDC dc) {
    RECT client;
    GetClientRect(group, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return;
    HGDIOBJ oldFont = SelectObject(dc, ControlFont(group));
    HBRUSH background = ParentBackground(group, dc, WM_CTLCOLORSTATIC);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const skin::GroupLook look = skin::GroupLookFor(*g_scheme, IsWindowEnabled(group) != FALSE);

    const int top = skin::GroupFrameTop(metrics.tmHeight);
    Outline(dc, RECT{0, top, width, height}, look.frame);
    Outline(dc, RECT{1, top + 1, width - 1, height - 1}, look.inner);

    const std::string caption = CaptionOf(group);
    if (!caption.empty()) {
        const auto style = static_cast<uint32_t>(GetWindowLongA(group, GWL_STYLE));
        const skin::TextLayout layout = skin::LayoutForStyle(style, GetWindowLongA(group, GWL_EXSTYLE));
        const int indent = skin::kGroupTextIndent;
        const SIZE size = MeasureCaption(dc, caption, DrawFlags(layout), width - 2 * indent);
        const int left = Place(layout.horizontal, indent, width - indent, size.cx);
        // The caption interrupts the frame, on the parent's own background.
        RECT gap{left - 1, 0, left + size.cx + 1, size.cy + 1};
        FillRect(dc, &gap, background);
        DrawCaption(dc, caption, RECT{left, 0, left + size.cx, size.cy}, layout, look.text);
    }
    SelectObject(dc, oldFont);
}

void Paint(HWND control, HDC dc, skin::Part part, bool hot) {
    if (part == skin::Part::PushButton) PaintPushButton(control, dc, hot);
    if (part == skin::Part::GroupBox) PaintGroupBox(control, dc);
}

// After the messages on which the system's own code draws the control directly.
void PaintNow(HWND control, skin::Part part, bool hot) {
    if (!IsWindowVisible(control)) return;
    HDC dc = GetDC(control);
    Paint(control, dc, part, hot);
    ReleaseDC(control, dc);
}

void TrackLeave(HWND control) {
    TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
    if (TrackMouseEvent(&query) && query.hwndTrack == control && (query.dwFlags & TME_LEAVE)) return;
    TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, control, 0};
    (void)TrackMouseEvent(&leave);
}

LRESULT CALLBACK SkinProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR hotData) {
    // The style may change (BM_SETSTYLE), so what to paint is decided at each message.
    const skin::Part part = skin::PartForStyle(static_cast<uint32_t>(GetWindowLongA(control, GWL_STYLE)));
    const bool hot = hotData != 0;
    switch (message) {
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, SkinProc, kSkinSubclassId);
            return DefSubclassProc(control, message, wParam, lParam);
        case WM_ERASEBKGND:
            if (part == skin::Part::PushButton) return 1;  // every pixel is painted anyway
            break;
        case WM_PAINT:
            if (part != skin::Part::None) {
                PAINTSTRUCT paint;
                HDC dc = BeginPaint(control, &paint);
                Paint(control, dc, part, hot);
                EndPaint(control, &paint);
                return 0;
            }
            break;
        case WM_PRINTCLIENT:
            if (part != skin::Part::None) {
                Paint(control, reinterpret_cast<HDC>(wParam), part, hot);
                return 0;
            }
            break;
        case WM_MOUSEMOVE: {
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            if (!hot && part == skin::Part::PushButton) {
                SetWindowSubclass(control, SkinProc, kSkinSubclassId, 1);
                TrackLeave(control);
                PaintNow(control, part, true);
            }
            return result;
        }
        case WM_MOUSELEAVE: {
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            SetWindowSubclass(control, SkinProc, kSkinSubclassId, 0);
            PaintNow(control, part, false);
            return result;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SETTEXT:
        case WM_SETFONT:
        case WM_UPDATEUISTATE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CAPTURECHANGED:
        case BM_SETSTATE:
        case BM_SETSTYLE: {
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            if (part != skin::Part::None && IsWindow(control)) PaintNow(control, part, hot);
            return result;
        }
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

bool IsButtonClass(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    return lstrcmpiA(name, "Button") == 0;
}

// True when the window is a button and now carries the skin.
bool Attach(HWND window) {
    if (!IsButtonClass(window)) return false;
    DWORD_PTR data = 0;
    if (GetWindowSubclass(window, SkinProc, kSkinSubclassId, &data)) return true;
    return SetWindowSubclass(window, SkinProc, kSkinSubclassId, 0) != FALSE;
}

BOOL CALLBACK AttachExisting(HWND window, LPARAM) {
    if (Attach(window)) InvalidateRect(window, nullptr, TRUE);  // repainted in the skin's colours
    return TRUE;
}

BOOL CALLBACK AttachWindowTree(HWND topLevel, LPARAM) {
    AttachExisting(topLevel, 0);
    EnumChildWindows(topLevel, AttachExisting, 0);
    return TRUE;
}

// Every window of the thread passes here while it is being made, before its first paint.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) (void)Attach(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(g_creationHook, code, wParam, lParam);
}

}  // namespace

bool EnableControlSkin(int scheme) {
    const skin::Scheme* found = skin::FindScheme(scheme);
    if (!found) return false;
    g_scheme = found;
    if (!g_creationHook) {
        g_creationHook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    }
    EnumThreadWindows(GetCurrentThreadId(), AttachWindowTree, 0);
    return g_creationHook != nullptr;
}

}  // namespace qb

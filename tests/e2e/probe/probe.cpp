// The e2e probe: a console program that looks at and drives windows of other processes
// under Wine and prints what it sees, one "key=value" record per line. Texts are
// printed as hex bytes so that the tests compare exact code page 936 bytes.
//
//   probe find [--caption HEX] [--class NAME] [--timeout MS]   the first matching top-level window
//   probe list [--caption HEX] [--class NAME]  every matching top-level window, with process and visibility
//   probe window HWND          class, caption, rectangles, styles, visibility, process
//   probe children HWND        every child, top of the z-order first
//   probe menu HWND            the menu bar as a tree
//   probe focus HWND           the focused window of that window's thread
//   probe click HWND           BM_CLICK, posted
//   probe command HWND ID      WM_COMMAND from a menu item, posted
//   probe key HWND VK          WM_KEYDOWN and WM_KEYUP, posted
//   probe close HWND           WM_CLOSE, posted
//   probe cursor X Y           moves the cursor
//   probe move HWND X Y        places a window (SetWindowPos, size kept, not activated)
//   probe wait-gone HWND MS    waits until the window no longer exists
//   probe text-hex TEXT        the code page 936 bytes of a UTF-8 argument text
//   probe icon HWND            the icon a static control shows (STM_GETICON), 0x0 for none
//   probe watch CAPTION-HEX ID MS   waits for a top-level window of that caption, then prints
//                              each text its control ID takes until the window is gone
//   probe wait-text HWND ID HEX MS [CLICK-ID]   waits until control ID shows the text,
//                              then clicks the control CLICK-ID at once, if one is given
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string FromHex(const char* hex) {
    std::string out;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        out += static_cast<char>(std::strtoul(pair, nullptr, 16));
    }
    return out;
}

HWND ParseHwnd(const char* text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoul(text, nullptr, 0))); }

std::string WindowText(HWND window) {
    char buffer[1024] = {};
    // The text the system keeps for the window: read without a message, so a window that
    // is busy (a Sleep, a modal loop) still answers.
    int length = GetWindowTextA(window, buffer, sizeof(buffer));
    if (length > 0) return std::string(buffer, static_cast<size_t>(length));
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                             2000, &copied)) {
        return std::string();
    }
    return std::string(buffer, static_cast<size_t>(copied));
}

std::string ClassName(HWND window) {
    char buffer[256] = {};
    const int length = GetClassNameA(window, buffer, sizeof(buffer));
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

void PrintRect(const char* key, const RECT& r) {
    std::printf("%s=%ld,%ld,%ld,%ld\n", key, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

struct FindQuery {
    bool byCaption = false;
    std::string caption;
    bool byClass = false;
    std::string className;
    HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<FindQuery*>(param);
    if (query->byCaption && WindowText(window) != query->caption) return TRUE;
    if (query->byClass && ClassName(window) != query->className) return TRUE;
    query->found = window;
    return FALSE;
}

void ParseQuery(int argc, char** argv, FindQuery& query, DWORD& timeout) {
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--caption")) {
            query.byCaption = true;
            query.caption = FromHex(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--class")) {
            query.byClass = true;
            query.className = argv[i + 1];
        } else if (!std::strcmp(argv[i], "--timeout")) {
            timeout = std::strtoul(argv[i + 1], nullptr, 10);
        }
    }
}

int Find(int argc, char** argv) {
    FindQuery query;
    DWORD timeout = 0;
    ParseQuery(argc, argv, query, timeout);
    const DWORD start = GetTickCount();
    for (;;) {
        query.found = nullptr;
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&query));
        if (query.found) {
            std::printf("hwnd=0x%lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(query.found)));
            return 0;
        }
        if (GetTickCount() - start >= timeout) return 1;
        Sleep(50);
    }
}

BOOL CALLBACK ListTopLevel(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<FindQuery*>(param);
    if (query->byCaption && WindowText(window) != query->caption) return TRUE;
    if (query->byClass && ClassName(window) != query->className) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::printf("hwnd=0x%lx pid=%lu visible=%d caption=%s\n",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)), static_cast<unsigned long>(pid),
                IsWindowVisible(window) ? 1 : 0, Hex(WindowText(window)).c_str());
    return TRUE;
}

int List(int argc, char** argv) {
    FindQuery query;
    DWORD timeout = 0;
    ParseQuery(argc, argv, query, timeout);
    EnumWindows(ListTopLevel, reinterpret_cast<LPARAM>(&query));
    return 0;
}

int Icon(HWND control) {
    DWORD_PTR icon = 0;
    if (!SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon)) return 1;
    std::printf("icon=0x%lx\n", static_cast<unsigned long>(icon));
    return 0;
}

// Polls in one process, so no text of a quick sequence slips between two probe runs.
int Watch(const char* captionHex, int id, DWORD timeout) {
    FindQuery query;
    query.byCaption = true;
    query.caption = FromHex(captionHex);
    const DWORD start = GetTickCount();
    while (!query.found) {
        if (GetTickCount() - start >= timeout) return 1;
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&query));
        if (!query.found) Sleep(5);
    }
    std::printf("hwnd=0x%lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(query.found)));
    std::fflush(stdout);
    std::string last;
    bool first = true;
    while (IsWindow(query.found)) {
        // While the window is being destroyed its controls go first: no text then.
        HWND control = GetDlgItem(query.found, id);
        const std::string text = control ? WindowText(control) : std::string();
        if (control && (first || text != last)) {
            std::printf("text=%s\n", Hex(text).c_str());
            std::fflush(stdout);
            last = text;
            first = false;
        }
        if (GetTickCount() - start >= timeout) {
            std::printf("gone=0\n");
            return 1;
        }
        Sleep(5);
    }
    std::printf("gone=1\n");
    return 0;
}

int WaitText(HWND window, int id, const char* hex, DWORD timeout, int clickId) {
    const std::string wanted = FromHex(hex);
    const DWORD start = GetTickCount();
    while (WindowText(GetDlgItem(window, id)) != wanted) {
        if (!IsWindow(window) || GetTickCount() - start >= timeout) return 1;
        Sleep(5);
    }
    if (clickId >= 0) return PostMessageA(GetDlgItem(window, clickId), BM_CLICK, 0, 0) ? 0 : 1;
    return 0;
}

int Window(HWND window) {
    if (!IsWindow(window)) return 1;
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::printf("class=%s\n", ClassName(window).c_str());
    std::printf("caption=%s\n", Hex(WindowText(window)).c_str());
    PrintRect("rect", outer);
    PrintRect("client", client);
    std::printf("style=0x%08lx\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)));
    std::printf("exstyle=0x%08lx\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    std::printf("visible=%d\n", IsWindowVisible(window) ? 1 : 0);
    std::printf("parent=0x%lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetParent(window))));
    std::printf("owner=0x%lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetWindow(window, GW_OWNER))));
    std::printf("pid=%lu\n", static_cast<unsigned long>(pid));
    std::printf("font=0x%lx\n",
                static_cast<unsigned long>(static_cast<uintptr_t>(SendMessageA(window, WM_GETFONT, 0, 0))));
    return 0;
}

int Children(HWND parent) {
    if (!IsWindow(parent)) return 1;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        std::printf("child=0x%lx id=%d class=%s caption=%s rect=%ld,%ld,%ld,%ld style=0x%08lx exstyle=0x%08lx "
                    "visible=%d\n",
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(child)), GetDlgCtrlID(child),
                    ClassName(child).c_str(), Hex(WindowText(child)).c_str(), r.left, r.top, r.right - r.left,
                    r.bottom - r.top, static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongA(child, GWL_EXSTYLE)), IsWindowVisible(child) ? 1 : 0);
    }
    return 0;
}

void PrintMenu(HMENU menu, int depth) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_STATE | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = sizeof(text) - 1;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        std::printf("item depth=%d caption=%s id=%u popup=%d state=0x%x type=0x%x\n", depth,
                    Hex(std::string(text, info.cch)).c_str(), info.wID, info.hSubMenu ? 1 : 0, info.fState,
                    info.fType);
        if (info.hSubMenu) PrintMenu(info.hSubMenu, depth + 1);
    }
}

int Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return 1;
    std::printf("focus=0x%lx id=%d\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(info.hwndFocus)),
                info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0);
    std::printf("active=0x%lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(info.hwndActive)));
    return 0;
}

int WaitGone(HWND window, DWORD timeout) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeout) return 1;
        Sleep(20);
    }
    return 0;
}

int TextHex(const char* utf8) {
    wchar_t wide[1024];
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 1024);
    char narrow[2048];
    const int m = WideCharToMultiByte(936, 0, wide, n, narrow, sizeof(narrow), nullptr, nullptr);
    std::printf("%s\n", Hex(std::string(narrow, m > 0 ? static_cast<size_t>(m - 1) : 0)).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string verb = argv[1];
    const auto post = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return PostMessageA(window, message, wParam, lParam) ? 0 : 1;
    };
    if (verb == "find") return Find(argc, argv);
    if (verb == "list") return List(argc, argv);
    if (verb == "watch" && argc > 4) {
        return Watch(argv[2], static_cast<int>(std::strtol(argv[3], nullptr, 0)), std::strtoul(argv[4], nullptr, 10));
    }
    if (verb == "text-hex" && argc > 2) return TextHex(argv[2]);
    if (verb == "cursor" && argc > 3) return SetCursorPos(std::atoi(argv[2]), std::atoi(argv[3])) ? 0 : 1;
    if (argc < 3) return 2;
    HWND window = ParseHwnd(argv[2]);
    if (verb == "window") return Window(window);
    if (verb == "children") return Children(window);
    if (verb == "menu") {
        HMENU menu = GetMenu(window);
        if (!menu) return 1;
        PrintMenu(menu, 0);
        return 0;
    }
    if (verb == "focus") return Focus(window);
    if (verb == "click") return post(window, BM_CLICK, 0, 0);
    if (verb == "close") return post(window, WM_CLOSE, 0, 0);
    if (verb == "command" && argc > 3) return post(window, WM_COMMAND, std::strtoul(argv[3], nullptr, 0), 0);
    if (verb == "key" && argc > 3) {
        const WPARAM vk = std::strtoul(argv[3], nullptr, 0);
        const UINT scan = MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
        if (post(window, WM_KEYDOWN, vk, 1 | (scan << 16))) return 1;
        return post(window, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
    }
    if (verb == "move" && argc > 4) {
        return SetWindowPos(window, nullptr, std::atoi(argv[3]), std::atoi(argv[4]), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    }
    if (verb == "wait-gone" && argc > 3) return WaitGone(window, std::strtoul(argv[3], nullptr, 10));
    if (verb == "icon") return Icon(window);
    if (verb == "wait-text" && argc > 5) {
        const int clickId = argc > 6 ? static_cast<int>(std::strtol(argv[6], nullptr, 0)) : -1;
        return WaitText(window, static_cast<int>(std::strtol(argv[3], nullptr, 0)), argv[4],
                        std::strtoul(argv[5], nullptr, 10), clickId);
    }
    return 2;
}

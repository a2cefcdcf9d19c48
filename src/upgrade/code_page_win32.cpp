#include "upgrade/code_page_win32.h"

#include <windows.h>

namespace qb {

namespace {

constexpr UINT kCodePage936 = 936;

// char16_t and WCHAR are both UTF-16 units on Windows; only the type names differ.
static_assert(sizeof(char16_t) == sizeof(WCHAR));
LPWSTR Wide(char16_t* units) { return reinterpret_cast<LPWSTR>(units); }
LPCWSTR Wide(const char16_t* units) { return reinterpret_cast<LPCWSTR>(units); }

}  // namespace

int Win32CodePageConverter::Utf8ToUtf16Size(const char* utf8) {
    return MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
}

int Win32CodePageConverter::Utf8ToUtf16(const char* utf8, char16_t* out, int capacity) {
    return MultiByteToWideChar(CP_UTF8, 0, utf8, -1, Wide(out), capacity);
}

int Win32CodePageConverter::Utf16ToAnsiSize(const char16_t* utf16) {
    return WideCharToMultiByte(CP_ACP, 0, Wide(utf16), -1, nullptr, 0, nullptr, nullptr);
}

int Win32CodePageConverter::Utf16ToCp936(const char16_t* utf16, char* out, int capacity) {
    return WideCharToMultiByte(kCodePage936, 0, Wide(utf16), -1, out, capacity, nullptr, nullptr);
}

}  // namespace qb

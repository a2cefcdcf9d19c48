#pragma once

#include "upgrade/manifest_decode.h"

namespace qb {

// The conversions by MultiByteToWideChar (CP_UTF8) and WideCharToMultiByte (sizing under
// CP_ACP, converting under 936), flags 0, zero-terminated input, no default character given.
class Win32CodePageConverter final : public CodePageConverter {
public:
    int Utf8ToUtf16Size(const char* utf8) override;
    int Utf8ToUtf16(const char* utf8, char16_t* out, int capacity) override;
    int Utf16ToAnsiSize(const char16_t* utf16) override;
    int Utf16ToCp936(const char16_t* utf16, char* out, int capacity) override;
};

}  // namespace qb

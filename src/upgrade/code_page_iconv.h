#pragma once

#include "upgrade/manifest_decode.h"

namespace qb {

// The conversions on a build host, giving what Windows gives under code page 936: one
// U+FFFD per malformed UTF-8 sequence, one question mark per UTF-16 unit that code page
// 936 lacks. The ANSI code page is taken to be 936.
class IconvCodePageConverter final : public CodePageConverter {
public:
    int Utf8ToUtf16Size(const char* utf8) override;
    int Utf8ToUtf16(const char* utf8, char16_t* out, int capacity) override;
    int Utf16ToAnsiSize(const char16_t* utf16) override;
    int Utf16ToCp936(const char16_t* utf16, char* out, int capacity) override;
};

}  // namespace qb

#pragma once

#include <string_view>

#include "base/text.h"

namespace qb {

// The four conversion calls one decode makes. The decode owns the buffers and their sizes;
// a converter only fills what it is given, so the buffer handling is the same on every host.
class CodePageConverter {
public:
    virtual ~CodePageConverter() = default;

    // UTF-16 units that zero-terminated UTF-8 needs, terminator included; 0 on failure.
    virtual int Utf8ToUtf16Size(const char* utf8) = 0;
    // Converts zero-terminated UTF-8 into at most capacity units; the units written, or 0.
    virtual int Utf8ToUtf16(const char* utf8, char16_t* out, int capacity) = 0;
    // Bytes that zero-terminated UTF-16 needs in the ANSI code page, terminator included.
    virtual int Utf16ToAnsiSize(const char16_t* utf16) = 0;
    // Converts zero-terminated UTF-16 to code page 936 into at most capacity bytes,
    // with a question mark for what the code page lacks; the bytes written, or 0.
    virtual int Utf16ToCp936(const char16_t* utf16, char* out, int capacity) = 0;

protected:
    CodePageConverter() = default;
    CodePageConverter(const CodePageConverter&) = default;
    CodePageConverter& operator=(const CodePageConverter&) = default;
};

// The manifest as the server sent it (UTF-8, possibly with zero bytes) as program text.
// Never fails: what cannot be converted comes out as question marks.
Text DecodeManifestBytes(std::string_view bytes, CodePageConverter& converter);

}  // namespace qb

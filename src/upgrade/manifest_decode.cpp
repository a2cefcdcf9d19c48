#include "upgrade/manifest_decode.h"

#include <climits>
#include <string>
#include <vector>

namespace qb {

Text DecodeManifestBytes(std::string_view bytes, CodePageConverter& converter) {
    // The conversions read zero-terminated input, so the data ends at its first zero byte.
    const std::string utf8(bytes.substr(0, bytes.find('\0')));
    if (utf8.empty()) return {};

    const int units = converter.Utf8ToUtf16Size(utf8.c_str());
    if (units <= 0 || units == INT_MAX) return {};
    // One unit more than the converter may fill: the terminator survives a short conversion.
    std::vector<char16_t> utf16(static_cast<size_t>(units) + 1, u'\0');
    (void)converter.Utf8ToUtf16(utf8.c_str(), utf16.data(), units);  // the buffer's zero ends it either way

    const int count = converter.Utf16ToAnsiSize(utf16.data());
    if (count <= 0 || count > (INT_MAX - 1) / 2) return {};
    // Twice the ANSI count leaves room when the ANSI code page is not 936. Spaces fill what
    // the conversion leaves, and the last byte, beyond its reach, stays zero.
    const int capacity = 2 * count;
    std::vector<char> cp936(static_cast<size_t>(capacity) + 1, ' ');
    cp936.back() = '\0';
    (void)converter.Utf16ToCp936(utf16.data(), cp936.data(), capacity);  // the text is what precedes the first zero
    return Text(cp936.data());
}

}  // namespace qb

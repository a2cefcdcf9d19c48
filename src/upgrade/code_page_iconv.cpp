#include "upgrade/code_page_iconv.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "upgrade/cp936_extra.h"

namespace qb {

namespace {

constexpr char16_t kReplacement = u'\xFFFD';

// Decodes zero-terminated UTF-8, its terminator counted as a byte, the way the Windows
// converter does: a malformed sequence becomes one U+FFFD and decoding goes on at the first
// byte it could not take. A lead byte that announces more bytes than are left takes all of
// them, terminator included; the result then has no terminator.
std::u16string DecodeUtf8(const char* text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const size_t length = std::strlen(text) + 1;
    std::u16string out;
    size_t i = 0;
    while (i < length) {
        const unsigned char lead = s[i];
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        size_t trail = 0;
        unsigned char low = 0x80, high = 0xBF;  // range of the first continuation byte
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            code = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;   // overlong below
            if (lead == 0xED) high = 0x9F;  // surrogates above
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            code = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF above
        }
        ++i;
        if (trail > length - i) {
            out += kReplacement;
            break;
        }
        bool complete = trail > 0;
        for (size_t k = 0; k < trail; ++k) {
            const unsigned char b = s[i];
            if (b < 0x80 || b > 0xBF) {
                complete = false;
                break;
            }
            // The first continuation byte goes with the lead even when it makes the sequence
            // overlong, a surrogate or too large: the two are then one bad sequence.
            code = (code << 6) | (b & 0x3F);
            ++i;
            if (b < low || b > high) {
                complete = false;
                break;
            }
            low = 0x80;
            high = 0xBF;
        }
        if (!complete) {
            out += kReplacement;
        } else if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// What iconv cannot map: the extra table, else the question mark, one per unit.
void AppendUnmapped(char16_t unit, std::string& out) {
    const int code = Cp936ExtraCode(unit);
    if (code < 0) {
        out += '?';
    } else if (code < 0x100) {
        out += static_cast<char>(code);
    } else {
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
}

// Appends the code page 936 form of a run of BMP units. iconv stops at a unit it cannot
// map, where Windows goes on, so each stop is filled in here and the run resumed after it.
void EncodeRun(iconv_t cd, const char16_t* run, size_t units, std::string& out) {
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(run));
    size_t inLeft = units * sizeof(char16_t);
    char buffer[4096];
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof(buffer);
        const size_t done = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            char16_t unit;
            std::memcpy(&unit, in, sizeof(unit));
            AppendUnmapped(unit, out);
            in += sizeof(char16_t);
            inLeft -= sizeof(char16_t);
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
}

// Code page 936 bytes of zero-terminated UTF-16, with the terminator.
std::string EncodeCp936(const char16_t* utf16) {
    static_assert(std::endian::native == std::endian::little, "the UTF-16 units are handed to iconv as UTF-16LE");
    std::string out;
    iconv_t cd = iconv_open("CP936", "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    size_t i = 0;
    while (utf16[i] != 0) {
        // Windows converts unit by unit: each half of a surrogate pair is a question mark.
        if (IsSurrogate(utf16[i])) {
            out += '?';
            ++i;
            continue;
        }
        size_t end = i;
        while (utf16[end] != 0 && !IsSurrogate(utf16[end])) ++end;
        EncodeRun(cd, utf16 + i, end - i, out);
        i = end;
    }
    iconv_close(cd);
    out += '\0';
    return out;
}

int CountOf(size_t units) { return units > static_cast<size_t>(INT_MAX) ? 0 : static_cast<int>(units); }

// Copies what fits, as the Windows calls do, and gives the count, or 0 when it was cut short.
template <typename Unit>
int CopyOut(const std::basic_string<Unit>& converted, Unit* out, int capacity) {
    if (capacity <= 0) return 0;
    const size_t fits = std::min(converted.size(), static_cast<size_t>(capacity));
    std::memcpy(out, converted.data(), fits * sizeof(Unit));
    return fits == converted.size() ? CountOf(fits) : 0;
}

}  // namespace

int IconvCodePageConverter::Utf8ToUtf16Size(const char* utf8) { return CountOf(DecodeUtf8(utf8).size()); }

int IconvCodePageConverter::Utf8ToUtf16(const char* utf8, char16_t* out, int capacity) {
    return CopyOut(DecodeUtf8(utf8), out, capacity);
}

int IconvCodePageConverter::Utf16ToAnsiSize(const char16_t* utf16) { return CountOf(EncodeCp936(utf16).size()); }

int IconvCodePageConverter::Utf16ToCp936(const char16_t* utf16, char* out, int capacity) {
    return CopyOut(EncodeCp936(utf16), out, capacity);
}

}  // namespace qb

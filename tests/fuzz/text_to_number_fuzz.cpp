// TextToNumber against the C library's strtod, in the C locale, on the texts where the two
// must agree, and against itself on the full-width spelling of the same text.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_driver.h"
#include "upgrade/version_compare.h"

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

void FuzzOne(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = qb::TextToNumber(text);
    Check(!std::isnan(value));
    (void)qb::IsNewerVersion(text, 3.2);

    // strtod also reads hexadecimal, infinity and not-a-number, which need these letters;
    // without them, and without two-byte characters, both read the same decimal number.
    bool plain = true;
    for (unsigned char c : text) plain = plain && c < 0x80 && !std::strchr("xXiInN", c);
    if (!plain) return;
    Check(SameDouble(value, std::strtod(text.c_str(), nullptr)));

    // The same text with its digits, signs, point and exponent letters written full width.
    std::string wide;
    for (char c : text) {
        if (c != '\0' && std::strchr("0123456789+-.eE", c)) {
            wide += '\xA3';
            wide += static_cast<char>(c + 0x80);
        } else {
            wide += c;
        }
    }
    Check(SameDouble(qb::TextToNumber(wide), value));
}

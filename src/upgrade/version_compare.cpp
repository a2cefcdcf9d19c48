#include "upgrade/version_compare.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace qb {

namespace {

// Full-width forms of code page 936 as ASCII, character by character, so that a trail
// byte is never read as the start of a character.
std::string NarrowFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x81 || i + 1 >= text.size()) {
            out += text[i++];
            continue;
        }
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out += static_cast<char>(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            out += ' ';  // ideographic space
        } else if (lead == 0xA1 && trail == 0xAB) {
            out += '~';
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            out += '*';
        } else {
            out.append(text.substr(i, 2));
        }
        i += 2;
    }
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The white space that the C library skips before a number, in the C locale.
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

double TextToNumber(std::string_view text) {
    const std::string s = NarrowFullWidth(text);
    const size_t n = s.size();
    size_t i = 0;
    while (i < n && IsCSpace(s[i])) ++i;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

    const size_t mantissa = i;
    size_t firstNonZero = std::string::npos;  // where the significant digits start
    size_t point = std::string::npos;
    size_t digits = 0;
    for (; i < n; ++i) {
        if (IsDigit(s[i])) {
            if (s[i] != '0' && firstNonZero == std::string::npos) firstNonZero = i;
            ++digits;
        } else if (s[i] == '.' && point == std::string::npos) {
            point = i;
        } else {
            break;
        }
    }
    if (digits == 0) return 0.0;
    if (point == std::string::npos) point = i;

    // An exponent counts only with at least one digit: "3e" and "3e+" read as 3.
    long long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < n && (s[j] == '+' || s[j] == '-')) negativeExponent = s[j++] == '-';
        if (j < n && IsDigit(s[j])) {
            for (; j < n && IsDigit(s[j]); ++j) {
                if (exponent < 1000000000) exponent = exponent * 10 + (s[j] - '0');
            }
            if (negativeExponent) exponent = -exponent;
            i = j;
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(s.data() + mantissa, s.data() + i, value, std::chars_format::general);
    (void)end;  // the span was checked above to be exactly one number
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: infinity or zero, as strtod gives.
        if (firstNonZero == std::string::npos) {
            value = 0.0;
        } else {
            const long long before = static_cast<long long>(point) - static_cast<long long>(firstNonZero);
            const long long magnitude = (firstNonZero < point ? before : before + 1) + exponent;
            value = magnitude > 0 ? HUGE_VAL : 0.0;
        }
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

bool IsNewerVersion(std::string_view versionText, double programVersion) {
    return TextToNumber(versionText) - programVersion > kNewerVersionThreshold;
}

}  // namespace qb

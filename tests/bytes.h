#pragma once

#include <string>
#include <string_view>

// Exact bytes written as hex ("c7eb b5c8"; spaces ignored), so a test proves a text's
// code page 936 bytes without trusting a literal compiled the same way as the code.
inline std::string Bytes(std::string_view hex) {
    std::string out;
    int high = -1;
    for (char c : hex) {
        int value;
        if (c >= '0' && c <= '9') value = c - '0';
        else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
        else continue;
        if (high < 0) {
            high = value;
        } else {
            out += static_cast<char>(high * 16 + value);
            high = -1;
        }
    }
    return out;
}

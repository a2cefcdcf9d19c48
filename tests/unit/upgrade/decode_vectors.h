#pragma once

#include <cstdint>
#include <string>

#include "upgrade/manifest_decode.h"

// UTF-8 in, code page 936 out, as every converter must give them: the host's stand-in in the
// unit tests and the real Windows calls in the win32 tests.
struct DecodeVector {
    const char* name;
    const char* utf8;   // hex
    const char* cp936;  // hex
};

inline constexpr DecodeVector kDecodeVectors[] = {
    {"plain ASCII", "332e33", "332e33"},
    {"Chinese", "e69c80 e696b0 e78988 e69cac", "d7ee d0c2 b0e6 b1be"},
    {"line break kept", "61 0d0a 62", "61 0d0a 62"},
    {"byte-order mark becomes a question mark", "efbbbf 3c3f786d6c", "3f 3c3f786d6c"},
    {"cut at the first zero byte", "6162 00 6364", "6162"},
    {"leading zero byte", "00 6162", ""},
    {"empty", "", ""},
    {"full-width digits and point", "efbc93 efbc8e efbc93", "a3b3 a3ae a3b3"},
    {"ideographic space", "e38080 34", "a1a1 34"},
    {"euro sign", "e282ac", "80"},
    {"middle dot", "c2b7", "a1a4"},
    {"best-fit form of a Latin capital", "c380", "a8a4"},
    {"user-defined area", "ee8080", "aaa1"},
    {"Thai letter code page 936 lacks", "41 e0b881 42", "41 3f 42"},
    {"Hangul syllable code page 936 lacks", "eab080", "3f"},
    {"character beyond the BMP: one question mark per UTF-16 unit", "f09f9880", "3f3f"},
    {"lone continuation byte", "41 80 42", "41 3f 42"},
    {"byte that never starts a sequence", "41 ff 42", "41 3f 42"},
    {"sequence cut short by a plain character", "41 e4b8 42", "41 3f 42"},
    {"sequence cut short by the end", "41 e4b8", "41 3f"},
};

// Beyond the vectors: every BMP character and every short malformed sequence built from
// telling bytes, each between two letters, decoded one by one and folded into one FNV-1a
// hash. kDecodeSweepHash is what the real calls give under Wine's code page 936.
inline constexpr uint64_t kDecodeSweepHash = 0x3428dbcc9dfb09d3;

inline std::string Utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

inline uint64_t DecodeSweepHash(qb::CodePageConverter& converter) {
    uint64_t hash = 14695981039346656037u;
    const auto fold = [&](const std::string& utf8) {
        const std::string text = qb::DecodeManifestBytes("A" + utf8 + "Z", converter);
        for (unsigned char c : text + '\n') {
            hash ^= c;
            hash *= 1099511628211u;
        }
    };
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) fold(Utf8Of(c));
    }
    const unsigned char trails[] = {0x00, 0x41, 0x80, 0x90, 0xA0, 0xBF};
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (unsigned char a : trails) {
            for (unsigned char b : trails) {
                for (unsigned char c : trails) {
                    fold({static_cast<char>(lead), static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
                }
            }
        }
    }
    return hash;
}

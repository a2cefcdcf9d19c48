#pragma once

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

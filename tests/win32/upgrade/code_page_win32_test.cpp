#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "../../unit/upgrade/decode_vectors.h"
#include "bytes.h"
#include "upgrade/code_page_win32.h"
#include "upgrade/cp936_extra.h"
#include "upgrade/manifest_decode.h"
#include "upgrade/manifest_document.h"

namespace qb {
namespace {

// Every test below relies on the ANSI code page being 936, as on the machines Quimbrel is for.
TEST(CodePageWin32, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(CodePageWin32, RealCallsGiveTheSharedVectors) {
    Win32CodePageConverter converter;
    for (const DecodeVector& row : kDecodeVectors) {
        EXPECT_EQ(DecodeManifestBytes(Bytes(row.utf8), converter), Bytes(row.cp936)) << row.name;
    }
}

TEST(CodePageWin32, RealCallsGiveTheSweepTheHostConverterIsCheckedAgainst) {
    Win32CodePageConverter converter;
    EXPECT_EQ(DecodeSweepHash(converter), kDecodeSweepHash);
}

// How many replacement characters a bad sequence gives is the platform's; that the text
// around it survives and the bad part shows as question marks is ours.
TEST(CodePageWin32, MalformedUtf8BecomesQuestionMarks) {
    const struct {
        const char* name;
        const char* bad;  // hex, between "A" and "B"
    } rows[] = {
        {"lone continuation bytes", "80 bf"},
        {"overlong two-byte form", "c0 80"},
        {"overlong three-byte form", "e0 80 80"},
        {"encoded surrogate", "ed a0 80"},
        {"beyond U+10FFFF", "f4 90 80 80"},
        {"five-byte form", "f8 88 80 80 80"},
        {"first byte with no continuation", "e4"},
        {"bytes never valid in UTF-8", "fe ff"},
    };
    Win32CodePageConverter converter;
    for (const auto& row : rows) {
        const Text text = DecodeManifestBytes("A" + Bytes(row.bad) + "B", converter);
        ASSERT_GE(text.size(), 3u) << row.name;
        EXPECT_EQ(text.front(), 'A') << row.name;
        EXPECT_EQ(text.back(), 'B') << row.name;
        EXPECT_EQ(text.find_first_not_of('?', 1), text.size() - 1) << row.name;
    }
}

// The host converter fills in what its iconv lacks from this table; it must be what
// Windows itself gives.
TEST(CodePageWin32, ExtraTableIsWhatWindowsGives) {
    for (const Cp936Run& run : Cp936ExtraRuns()) {
        for (int k = 0; k < run.count; ++k) {
            const wchar_t unit[2] = {static_cast<wchar_t>(run.first + k), 0};
            char out[8] = {};
            const int n = WideCharToMultiByte(936, 0, unit, -1, out, sizeof(out), nullptr, nullptr);
            const int code = run.code + k;
            const std::string expected =
                code < 0x100 ? std::string(1, static_cast<char>(code))
                             : std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
            EXPECT_EQ(std::string(out, n > 0 ? n - 1 : 0), expected) << "U+" << std::hex << run.first + k;
        }
    }
}

TEST(CodePageWin32, ServerBytesDecodeLoadAndRead) {
    // <?xml ...?> <最新版本><版本信息 版本号="３．３" 升级说明="修正&amp;改进"/></最新版本>, with a byte-order mark.
    const std::string utf8 = Bytes("efbbbf") +
                             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" +
                             Bytes("3c e69c80e696b0e78988e69cac 3e 3c e78988e69cace4bfa1e681af") +
                             Bytes("20 e78988e69cace58fb7 3d22 efbc93efbc8eefbc93 22") +
                             Bytes("20 e58d87e7baa7e8afb4e6988e 3d22 e4bfaee6ada3 26616d703b e694b9e8bf9b 22 2f3e") +
                             Bytes("3c2f e69c80e696b0e78988e69cac 3e");
    Win32CodePageConverter converter;
    ManifestDocument document;
    ASSERT_TRUE(LoadFromBytes(document, DecodeManifestBytes(utf8, converter)));
    EXPECT_EQ(GetAttribute(document, kReleaseElementPath, kVersionAttribute), Bytes("a3b3 a3ae a3b3"));
    EXPECT_EQ(GetAttribute(document, kReleaseElementPath, kNotesAttribute), Bytes("d0ded5fd 26 b8c4bdf8"));
    UnloadManifestDocument(document);
}

}  // namespace
}  // namespace qb

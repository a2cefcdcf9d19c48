#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bytes.h"
#include "decode_vectors.h"
#include "upgrade/code_page_iconv.h"
#include "upgrade/manifest_decode.h"

namespace qb {
namespace {

TEST(DecodeManifestBytes, HostConverterGivesTheSharedVectors) {
    IconvCodePageConverter converter;
    for (const DecodeVector& row : kDecodeVectors) {
        EXPECT_EQ(DecodeManifestBytes(Bytes(row.utf8), converter), Bytes(row.cp936)) << row.name;
    }
}

TEST(DecodeManifestBytes, HostConverterGivesWhatWindowsGivesForEveryCharacter) {
    IconvCodePageConverter converter;
    EXPECT_EQ(DecodeSweepHash(converter), kDecodeSweepHash) << "run the same sweep under Wine to find the difference";
}

// Records what the decode hands the converter and answers from a script.
class ScriptedConverter final : public CodePageConverter {
public:
    int utf16Size = 4;
    std::u16string utf16Written = std::u16string(u"abc", 4);  // terminator included
    int ansiSize = 4;
    std::string cp936Written = std::string("abc", 4);

    std::vector<std::string> calls;
    std::string utf8Seen;
    std::u16string utf16Seen;      // the units the ANSI sizing read, up to their terminator
    std::string cp936BufferBefore;  // the whole buffer, one byte past the capacity included

    int Utf8ToUtf16Size(const char* utf8) override {
        calls.push_back("Utf8ToUtf16Size");
        utf8Seen = utf8;
        return utf16Size;
    }
    int Utf8ToUtf16(const char*, char16_t* out, int capacity) override {
        calls.push_back("Utf8ToUtf16:" + std::to_string(capacity));
        const size_t n = std::min(utf16Written.size(), static_cast<size_t>(capacity));
        std::copy_n(utf16Written.begin(), n, out);
        return static_cast<int>(n);
    }
    int Utf16ToAnsiSize(const char16_t* utf16) override {
        calls.push_back("Utf16ToAnsiSize");
        utf16Seen = utf16;
        return ansiSize;
    }
    int Utf16ToCp936(const char16_t*, char* out, int capacity) override {
        calls.push_back("Utf16ToCp936:" + std::to_string(capacity));
        cp936BufferBefore.assign(out, static_cast<size_t>(capacity) + 1);
        const size_t n = std::min(cp936Written.size(), static_cast<size_t>(capacity));
        std::copy_n(cp936Written.begin(), n, out);
        return static_cast<int>(n);
    }
};

TEST(DecodeManifestBytes, SizesEachBufferFromItsSizingCall) {
    ScriptedConverter converter;
    EXPECT_EQ(DecodeManifestBytes("abc", converter), "abc");
    const std::vector<std::string> expected = {"Utf8ToUtf16Size", "Utf8ToUtf16:4", "Utf16ToAnsiSize", "Utf16ToCp936:8"};
    EXPECT_EQ(converter.calls, expected);
    EXPECT_EQ(converter.utf8Seen, "abc");
    EXPECT_EQ(converter.utf16Seen, u"abc");
    // Twice the ANSI count, filled with spaces, and a zero the conversion cannot reach.
    EXPECT_EQ(converter.cp936BufferBefore, std::string(8, ' ') + '\0');
}

TEST(DecodeManifestBytes, NothingToConvertMakesNoCall) {
    const struct {
        const char* name;
        std::string bytes;
    } rows[] = {
        {"empty", ""},
        {"zero byte first", std::string("\0abc", 4)},
        {"zero bytes only", std::string(3, '\0')},
    };
    for (const auto& row : rows) {
        ScriptedConverter converter;
        EXPECT_EQ(DecodeManifestBytes(row.bytes, converter), "") << row.name;
        EXPECT_TRUE(converter.calls.empty()) << row.name;
    }
}

TEST(DecodeManifestBytes, ConvertersSeeTheDataUpToItsFirstZeroByte) {
    ScriptedConverter converter;
    (void)DecodeManifestBytes(std::string("ab\0cd\0", 6), converter);
    EXPECT_EQ(converter.utf8Seen, "ab");
}

TEST(DecodeManifestBytes, FailedSizingGivesTheEmptyText) {
    const struct {
        const char* name;
        int utf16Size;
        int ansiSize;
        size_t callsMade;
    } rows[] = {
        {"UTF-16 sizing fails", 0, 4, 1},
        {"UTF-16 sizing negative", -1, 4, 1},
        {"ANSI sizing fails", 4, 0, 3},
        {"ANSI count too large to double", 4, 0x40000000, 3},
    };
    for (const auto& row : rows) {
        ScriptedConverter converter;
        converter.utf16Size = row.utf16Size;
        converter.ansiSize = row.ansiSize;
        EXPECT_EQ(DecodeManifestBytes("abc", converter), "") << row.name;
        EXPECT_EQ(converter.calls.size(), row.callsMade) << row.name;
    }
}

// A conversion cut short leaves no terminator of its own; the decode's buffers end anyway.
TEST(DecodeManifestBytes, ShortConversionsStillEndInsideTheBuffers) {
    ScriptedConverter converter;
    converter.utf16Size = 2;
    converter.utf16Written = u"xyz";  // fills both units, no terminator
    converter.ansiSize = 2;
    converter.cp936Written = "xyzw";  // fills all four bytes, no terminator
    EXPECT_EQ(DecodeManifestBytes("xyz", converter), "xyzw");
    EXPECT_EQ(converter.utf16Seen, u"xy");

    ScriptedConverter failing;
    failing.cp936Written = "";  // writes nothing: what the buffer held is the text
    EXPECT_EQ(DecodeManifestBytes("abc", failing), std::string(8, ' '));
}

}  // namespace
}  // namespace qb

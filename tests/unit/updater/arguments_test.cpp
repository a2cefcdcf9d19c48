#include "updater/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bytes.h"

namespace qb {
namespace {

struct SplitCase {
    const char* row;
    std::string line;
    std::vector<std::string> arguments;
};

TEST(SplitArguments, Table) {
    const std::string start = Bytes("c6f4b6afc6bebedd");  // 启动凭据
    const SplitCase cases[] = {
        {"plain program path", "C:\\q\\update.exe a b", {"a", "b"}},
        {"quoted program path with a space", "\"C:\\a b\\update.exe\" a b", {"a", "b"}},
        {"quoted program path, no space after it", "\"C:\\a b\\update.exe\"a b", {"a", "b"}},
        {"quoted path, only one space skipped", "\"C:\\u.exe\"  a", {"a"}},
        {"unquoted path with a space: its rest is the first argument", "C:\\a b\\update.exe " + start,
         {"b\\update.exe", start}},
        {"program path alone", "C:\\update.exe", {}},
        {"unterminated quoted program path", "\"C:\\a b\\update.exe a b", {}},
        {"runs of spaces, tabs and line breaks", "u.exe  a \t\r\n b\r\n", {"a", "b"}},
        {"quoted argument keeps its spaces", "u.exe \"a b\" c", {"a b", "c"}},
        {"a quote in the middle ends a plain argument", "u.exe ab\"c d\"e", {"ab", "c d", "e"}},
        {"unterminated quote runs to the end", "u.exe a \"b c", {"a", "b c"}},
        {"empty quoted argument", "u.exe a \"\" b", {"a", "", "b"}},
        {"empty quoted argument at the end", "u.exe a \"\"", {"a", ""}},
        {"a byte of 0x80 or above takes a space with it", "u.exe a\xB0 b c", {"a\xB0 b", "c"}},
        {"and a quote", "u.exe a\xB0\"b c", {"a\xB0\"b", "c"}},
        {"inside a quoted argument too", "u.exe \"a\xB0\" b\" c", {"a\xB0\" b", "c"}},
        {"0x80 itself pairs", "u.exe \x80 b", {"\x80 b"}},
        {"such a byte as the last byte of the line", "u.exe a \xB0", {"a", "\xB0"}},
        {"a two-byte character whose trail is 0x5C", "u.exe " + Bytes("815c") + " x", {Bytes("815c"), "x"}},
        {"control bytes separate like spaces", "u.exe a\x01" "b", {"a", "b"}},
        {"empty line", "", {}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(SplitArguments(c.line), c.arguments) << c.row;
    }
}

TEST(ReadUpdaterArguments, TakesAddressTitleAndProgramFromTheirPlaces) {
    const std::string start = Bytes("c6f4b6afc6bebedd");
    const auto read = ReadUpdaterArguments({start, "http://h/r.zip", "title", "run", "Quimbrel.exe", "r.zip", "x"});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->address, "http://h/r.zip");
    EXPECT_EQ(read->title, "title");
    EXPECT_EQ(read->programName, "Quimbrel.exe");
}

TEST(ReadUpdaterArguments, Refusals) {
    const std::string start = Bytes("c6f4b6afc6bebedd");
    std::string lastByte = start;
    lastByte.back() = '\xDC';
    std::string firstByte = start;
    firstByte.front() = '\xC7';
    const struct {
        const char* row;
        std::vector<std::string> arguments;
    } cases[] = {
        {"five arguments", {start, "a", "t", "run", "Q.exe"}},
        {"none", {}},
        {"token differs in its last byte", {lastByte, "a", "t", "run", "Q.exe", "f"}},
        {"token differs in its first byte", {firstByte, "a", "t", "run", "Q.exe", "f"}},
        {"token with a trailing space", {start + " ", "a", "t", "run", "Q.exe", "f"}},
        {"token cut short", {start.substr(0, 6), "a", "t", "run", "Q.exe", "f"}},
        {"token in second place", {"x", start, "a", "t", "run", "Q.exe"}},
    };
    for (const auto& c : cases) EXPECT_FALSE(ReadUpdaterArguments(c.arguments)) << c.row;
}

TEST(ReadUpdaterArguments, FiveArgumentsOfAnEmptyManifestAreRefusedAfterSplitting) {
    // What Quimbrel sends when 文件名 and 升级说明 are both empty: trailing spaces only.
    const std::string line = "C:\\q\\" + Bytes("c9fdbcb6cec4bcfe") + "\\update.exe " + Bytes("c6f4b6afc6bebedd") +
                             " http://h/r.zip t " + Bytes("d4cbd0d0") + " Quimbrel.exe  ";
    EXPECT_EQ(SplitArguments(line).size(), 5u);
    EXPECT_FALSE(ReadUpdaterArguments(SplitArguments(line)));
}

}  // namespace
}  // namespace qb

#include "updater/file_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bytes.h"
#include "fakes.h"
#include "updater/folder_tree.h"
#include "updater/unpack.h"
#include "updater/updater.h"

namespace qb {
namespace {

using test::TableDecoder;
using test::Utf8;

struct NameCase {
    const char* row;
    std::string name;
    uint16_t flags;
    NameFault fault;
    std::vector<std::string> components;  // when accepted
    bool isFolder;
};

TEST(CheckEntryName, Table) {
    TableDecoder decoder;
    decoder.table[Utf8(u8"文档/更新.txt")] = Bytes("cec4b5b5 2f b8fcd0c2 2e747874");
    decoder.table[Utf8(u8"a\uFF0Fb")] = Bytes("61 a3af 62");  // a full-width solidus is a character
    const std::string gbkBackslashTrail = Bytes("815c");        // 乗: its trail byte is 0x5C
    const uint16_t utf8 = kZipFlagUtf8Name;
    const NameCase cases[] = {
        {"plain file", "a.txt", 0, NameFault::None, {"a.txt"}, false},
        {"nested file", "lib/sub/x.dll", 0, NameFault::None, {"lib", "sub", "x.dll"}, false},
        {"backslashes separate too", "lib\\x.dll", 0, NameFault::None, {"lib", "x.dll"}, false},
        {"folder entry", "lib/sub/", 0, NameFault::None, {"lib", "sub"}, true},
        {"dotted folder is a name", ".config/x", 0, NameFault::None, {".config", "x"}, false},
        {"dots inside a name", "a..b.txt", 0, NameFault::None, {"a..b.txt"}, false},
        {"code page 936 name", Bytes("cbb5c3f72e747874"), 0, NameFault::None, {Bytes("cbb5c3f72e747874")}, false},
        {"trail byte 0x5C is no separator", gbkBackslashTrail + ".txt", 0, NameFault::None,
         {gbkBackslashTrail + ".txt"}, false},
        {"trail byte 0x5C inside a path", "d/" + gbkBackslashTrail + "/x", 0, NameFault::None,
         {"d", gbkBackslashTrail, "x"}, false},
        {"UTF-8 name decoded when flagged", Utf8(u8"文档/更新.txt"), utf8, NameFault::None,
         {Bytes("cec4b5b5"), Bytes("b8fcd0c2 2e747874")}, false},
        {"full-width solidus stays a character", Utf8(u8"a\uFF0Fb"), utf8, NameFault::None, {Bytes("61 a3af 62")},
         false},
        {"../x", "../x", 0, NameFault::DotComponent, {}, false},
        {"..\\x", "..\\x", 0, NameFault::DotComponent, {}, false},
        {"a/../../x", "a/../../x", 0, NameFault::DotComponent, {}, false},
        {"a/.. alone", "a/..", 0, NameFault::DotComponent, {}, false},
        {"./x", "./x", 0, NameFault::DotComponent, {}, false},
        {"dots and spaces are dots to the system", "a/. ./x", 0, NameFault::DotComponent, {}, false},
        {"/x", "/x", 0, NameFault::Absolute, {}, false},
        {"\\x", "\\x", 0, NameFault::Absolute, {}, false},
        {"\\\\host\\share", "\\\\host\\share\\x", 0, NameFault::Absolute, {}, false},
        {"C:\\x", "C:\\x", 0, NameFault::Colon, {}, false},
        {"C:x", "C:x", 0, NameFault::Colon, {}, false},
        {"alternate data stream", "a.txt:evil", 0, NameFault::Colon, {}, false},
        {"CON", "CON", 0, NameFault::Device, {}, false},
        {"con.txt in a folder", "d/con.txt", 0, NameFault::Device, {}, false},
        {"NUL with spaces before its extension", "NUL  .log", 0, NameFault::Device, {}, false},
        {"COM1", "COM1", 0, NameFault::Device, {}, false},
        {"lpt9.dat", "lpt9.dat", 0, NameFault::Device, {}, false},
        {"CONOUT$", "CONOUT$", 0, NameFault::Device, {}, false},
        {"COM10 is a name", "COM10", 0, NameFault::None, {"COM10"}, false},
        {"CONSOLE is a name", "CONSOLE.txt", 0, NameFault::None, {"CONSOLE.txt"}, false},
        {"trailing dot would be dropped", "x.", 0, NameFault::TrailingDotOrSpace, {}, false},
        {"trailing space would be dropped", "d /x", 0, NameFault::TrailingDotOrSpace, {}, false},
        {"empty name", "", 0, NameFault::Empty, {}, false},
        {"empty component", "a//b", 0, NameFault::EmptyComponent, {}, false},
        {"wildcard", "a*.txt", 0, NameFault::BadCharacter, {}, false},
        {"question mark", "a?.txt", 0, NameFault::BadCharacter, {}, false},
        {"pipe", "a|b", 0, NameFault::BadCharacter, {}, false},
        {"control byte", std::string("a\x01") + "b", 0, NameFault::BadCharacter, {}, false},
        {"NUL byte", std::string("a\0b", 3), 0, NameFault::BadCharacter, {}, false},
        {"lead byte at the end", "a" + Bytes("b1"), 0, NameFault::BadEncoding, {}, false},
        {"lead byte before a space", Bytes("b1") + " x", 0, NameFault::BadEncoding, {}, false},
        {"byte 0xFF", Bytes("ff"), 0, NameFault::BadEncoding, {}, false},
        {"UTF-8 name with no code page 936 form", Utf8(u8"\U0001F600.txt"), utf8, NameFault::BadEncoding, {}, false},
        {"UTF-8 flag, decoded name climbs out", Utf8(u8"../x"), utf8, NameFault::DotComponent, {}, false},
    };
    for (const NameCase& c : cases) {
        ArchiveEntry entry;
        entry.rawName = c.name;
        entry.flags = c.flags;
        const CheckedPath checked = CheckEntryName(entry, decoder);
        EXPECT_EQ(checked.fault, c.fault) << c.row;
        if (c.fault == NameFault::None) {
            EXPECT_EQ(checked.components, c.components) << c.row;
            EXPECT_EQ(checked.isFolder, c.isFolder) << c.row;
        }
    }
}

TEST(EndsWithBackslash, AtrailByteIsNotABackslash) {
    EXPECT_TRUE(EndsWithBackslash("C:\\a\\"));
    EXPECT_FALSE(EndsWithBackslash("C:\\a"));
    EXPECT_FALSE(EndsWithBackslash("C:\\" + Bytes("815c")));
    EXPECT_TRUE(EndsWithBackslash("C:\\" + Bytes("815c") + "\\"));
    EXPECT_FALSE(EndsWithBackslash(""));
}

TEST(RestartCommandLine, QuotesTheProgramAndRefusesAnythingButABareName) {
    const std::string folder = "C:\\Program Files\\Q\\" + Bytes("c9fdbcb6cec4bcfe") + "\\..\\";
    EXPECT_EQ(RestartCommandLine(folder, "Quimbrel.exe"), "\"" + folder + "Quimbrel.exe\"");
    EXPECT_EQ(RestartCommandLine(folder, Bytes("d4cbd0d0")), "\"" + folder + Bytes("d4cbd0d0") + "\"")
        << "a shifted argument 5 is a bare name that simply fails to start";
    const struct {
        const char* row;
        std::string name;
    } refused[] = {
        {"a path", "..\\..\\Windows\\system32\\cmd.exe"}, {"a forward slash", "sub/x.exe"},
        {"a drive", "C:x.exe"},                        {"a full path", "C:\\Windows\\notepad.exe"},
        {"dots", ".."},                                {"a device", "CON"},
        {"empty", ""},                                 {"a UNC path", "\\\\host\\share\\x.exe"},
    };
    for (const auto& c : refused) EXPECT_FALSE(RestartCommandLine(folder, c.name)) << c.row;
}

TEST(IsDeletableFolderPath, RefusesRootsAndEmptyPaths) {
    const struct {
        const char* path;
        bool deletable;
    } cases[] = {
        {"", false},
        {"\\", false},
        {"/", false},
        {"C:", false},
        {"C:\\", false},
        {"c:/", false},
        {"C:\\\\", false},
        {"\\\\host\\share", false},
        {"\\\\host\\share\\", false},
        {"\\\\?\\C:\\x", false},
        {"\\\\.\\PhysicalDrive0", false},
        {"C:\\q\\..", false},
        {"C:\\q\\.", false},
        {"..", false},
        {"C:\\q\\e_update", true},
        {"C:\\q\\e_update\\", true},
        {"\\\\host\\share\\q\\e_update", true},
        {"e_update", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsDeletableFolderPath(c.path), c.deletable) << '"' << c.path << '"';
}

}  // namespace
}  // namespace qb

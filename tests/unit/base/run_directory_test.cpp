#include "base/run_directory.h"

#include <gtest/gtest.h>

#include "bytes.h"

namespace qb {
namespace {

TEST(SplitExecutablePath, SplitsAtTheLastRealBackslash) {
    const struct {
        const char* pathHex;
        const char* directoryHex;
        const char* nameHex;
        const char* what;
    } rows[] = {
        // C:\Tools\Quimbrel.exe
        {"433a5c546f6f6c735c5175696d6272656c2e657865", "433a5c546f6f6c73", "5175696d6272656c2e657865", "plain"},
        // C:\表\Quimbrel.exe: 表 is B1 ED, no 5C; the folder ends before the real backslash
        {"433a5cb1ed5c512e657865", "433a5cb1ed", "512e657865", "double-byte folder"},
        // C:\圹\Q.exe: 圹 is DB 5C, whose trail byte is not a backslash
        {"433a5cdb5c5c512e657865", "433a5cdb5c", "512e657865", "trail byte 0x5C in the folder"},
        // C:\A\圹: a name ending in a trail byte 0x5C keeps it
        {"433a5c415cdb5c", "433a5c41", "db5c", "trail byte 0x5C ending the name"},
        {"5175696d6272656c2e657865", "", "5175696d6272656c2e657865", "no backslash"},
        {"433a5c546f6f6c735c", "433a5c546f6f6c73", "", "cut right after a backslash"},
        {"", "", "", "empty"},
        // a lone lead byte at the very end is taken as it stands
        {"433a5c415cdb", "433a5c41", "db", "lead byte last"},
    };
    for (const auto& row : rows) {
        const ExecutablePathParts parts = SplitExecutablePath(Bytes(row.pathHex), IsCp936LeadByte);
        EXPECT_EQ(parts.runDirectory, Bytes(row.directoryHex)) << row.what;
        EXPECT_EQ(parts.executableName, Bytes(row.nameHex)) << row.what;
    }
}

}  // namespace
}  // namespace qb

#include "upgrade/handoff.h"

#include <gtest/gtest.h>

#include "bytes.h"

namespace qb {
namespace {

TEST(BuildHandOffCommandLine, ExactBytes) {
    const std::string path = "\"" + std::string("C:\\Q") + Bytes("5c c9fdbcb6cec4bcfe 5c") + "update.exe\"";
    const std::string token = Bytes("c6f4b6afc6bebedd");
    const std::string run = Bytes("d4cbd0d0");
    const struct {
        const char* what;
        std::string runDirectory;
        ReleaseFields fields;
        std::string expected;
    } rows[] = {
        {"all four fields empty", "C:\\Q", {}, path + " " + token + "   " + run + " Quimbrel.exe  "},
        {"a release",
         "C:\\Q",
         {"http://h/r.zip", "R", "r.zip", "n"},
         path + " " + token + " http://h/r.zip R " + run + " Quimbrel.exe r.zip n"},
        {"notes with spaces and line breaks stay at the end, unchanged",
         "C:\\Q",
         {"http://h/r.zip", "R", "r.zip", "fixes a\r\nand b  c"},
         path + " " + token + " http://h/r.zip R " + run + " Quimbrel.exe r.zip fixes a\r\nand b  c"},
        {"a run directory with a space is inside the quotes",
         "C:\\Program Files\\Q",
         {"u", "t", "f", "n"},
         "\"C:\\Program Files\\Q" + Bytes("5c c9fdbcb6cec4bcfe 5c") + "update.exe\" " + token + " u t " + run +
             " Quimbrel.exe f n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(BuildHandOffCommandLine(row.runDirectory, row.fields), row.expected) << row.what;
    }
}

}  // namespace
}  // namespace qb

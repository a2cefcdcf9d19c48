#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "bytes.h"
#include "upgrade/version_compare.h"

namespace qb {
namespace {

// The MinGW runtime's number conversion, not the host's, and under a locale whose decimal
// separator is a comma: the point must stay the separator.
TEST(VersionWin32, ReadsTheSameUnderACommaLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "German_Germany.1252"), nullptr);
    ASSERT_EQ(std::localeconv()->decimal_point[0], ',');
    const struct {
        const char* name;
        std::string text;
        double number;
        bool newer;
    } rows[] = {
        {"3.3", "3.3", 3.3, true},
        {"comma is still no separator", "3,3", 3, false},
        {"full-width 3.3", Bytes("a3b3 a3ae a3b3"), 3.3, true},
        {"3.2000001", "3.2000001", 3.2000001, false},
        {"3.2000002", "3.2000002", 3.2000002, true},
        {"too large", "1e400", HUGE_VAL, true},
        {"hexadecimal", "0x10", 0, false},
        {"infinity", "inf", 0, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(TextToNumber(row.text), row.number) << row.name;
        EXPECT_EQ(IsNewerVersion(row.text, 3.2), row.newer) << row.name;
    }
    std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
}  // namespace qb

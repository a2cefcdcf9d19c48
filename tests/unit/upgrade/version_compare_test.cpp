#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bytes.h"
#include "upgrade/version_compare.h"

namespace qb {
namespace {

constexpr double kProgramVersion = 3.2;

struct NumberRow {
    const char* name;
    std::string text;
    double expected;
};

TEST(TextToNumber, ReadsTheLeadingDecimalNumber) {
    const NumberRow rows[] = {
        {"plain", "3.21", 3.21},
        {"integer", "10", 10},
        {"second point ends the number", "3.3.1", 3.3},
        {"leading space", " 4", 4},
        {"leading tab, line break and form feed", "\t\r\n\f\v4", 4},
        {"sign", "-2.5", -2.5},
        {"plus sign", "+7", 7},
        {"point first", ".5", 0.5},
        {"point last", "5.", 5},
        {"exponent", "1e2", 100},
        {"exponent with sign", "25E-1", 2.5},
        {"exponent without digits is not read", "2e", 2},
        {"exponent sign without digits is not read", "2e+x", 2},
        {"text after the number", "3.3 正式版", 3.3},
        {"letter x after a digit", "1x2", 1},
        {"comma is no decimal separator", "1,5", 1},
        {"no grouping", "1 500", 1},
        {"leading zeros", "0003.30", 3.3},
        {"more digits than a double holds", "3.2000000000000000000000000001", 3.2},
        {"too large", "1e400", HUGE_VAL},
        {"too large and negative", "-1e400", -HUGE_VAL},
        {"too large by its digits", std::string(400, '9'), HUGE_VAL},
        {"too small", "1e-400", 0},
        {"zero with a huge exponent", "0e999999999999", 0},
        {"exponent beyond every integer type", "1e99999999999999999999999", HUGE_VAL},
        {"negative exponent beyond every integer type", "1e-99999999999999999999999", 0},
    };
    for (const NumberRow& row : rows) {
        EXPECT_EQ(TextToNumber(row.text), row.expected) << row.name;
    }
}

TEST(TextToNumber, GivesZeroWithoutALeadingDecimalNumber) {
    const NumberRow rows[] = {
        {"empty", "", 0},
        {"letters", "abc", 0},
        {"letter before the digits", "V3.3", 0},
        {"point alone", ".", 0},
        {"sign alone", "-", 0},
        {"two signs", "+-3", 0},
        {"space between sign and digits", "- 3", 0},
        {"hexadecimal", "0x1A", 0},
        {"hexadecimal float", "0x1p3", 0},
        {"infinity", "inf", 0},
        {"infinity spelt out", "-Infinity", 0},
        {"not a number", "nan", 0},
        {"not a number with payload", "NAN(123)", 0},
        {"exponent alone", "e5", 0},
    };
    for (const NumberRow& row : rows) {
        const double value = TextToNumber(row.text);
        EXPECT_EQ(value, 0.0) << row.name;
        EXPECT_FALSE(std::signbit(value)) << row.name;
    }
}

TEST(TextToNumber, NegativeZeroKeepsItsSign) {
    EXPECT_TRUE(std::signbit(TextToNumber("-0")));
    EXPECT_TRUE(std::signbit(TextToNumber("-1e-400")));
}

TEST(TextToNumber, ReadsFullWidthFormsAsASCII) {
    const NumberRow rows[] = {
        {"full-width digits and point", Bytes("a3b3 a3ae a3b3"), 3.3},  // ３．３
        {"full-width minus", Bytes("a3ad a3b2"), -2},                   // －２
        {"full-width plus", Bytes("a3ab a3b5"), 5},                     // ＋５
        {"full-width exponent", Bytes("a3b3 a3e5 a3b2"), 300},          // ３ｅ２
        {"full and half width mixed", Bytes("33 a3ae 35"), 3.5},        // 3．5
        {"ideographic space first", Bytes("a1a1 34"), 4},               // 　4
        {"full-width digit after a two-byte character", Bytes("b0e6 a3b3"), 0},
        {"A3 with a second byte below A1 stays", Bytes("a3a0 33"), 0},
        {"a first byte takes an ASCII digit with it", Bytes("b3 33"), 0},
        {"a first byte takes an A3 with it", Bytes("81 a3 b3"), 0},
        {"a lone first byte at the end", Bytes("33 a3"), 3},
    };
    for (const NumberRow& row : rows) {
        EXPECT_EQ(TextToNumber(row.text), row.expected) << row.name;
    }
}

TEST(IsNewerVersion, NewerOnlyMoreThanTheThresholdAboveTheProgramVersion) {
    const struct {
        const char* name;
        std::string text;
        bool newer;
    } rows[] = {
        {"3.21", "3.21", true},
        {"3.3", "3.3", true},
        {"10", "10", true},
        {"full-width 3.3", Bytes("a3b3 a3ae a3b3"), true},
        {"3.2000002", "3.2000002", true},
        {"3.3.1 reads as 3.3", "3.3.1", true},
        {"leading space before 4", " 4", true},
        {"too large for a double", "1e400", true},
        {"3.2", "3.2", false},
        {"3.1", "3.1", false},
        {"empty", "", false},
        {"abc", "abc", false},
        {"V3.3", "V3.3", false},
        {"3.2000001: the difference falls just below the threshold", "3.2000001", false},
        {"negative", "-3.3", false},
        {"hexadecimal", "0x10", false},
        {"infinity", "inf", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsNewerVersion(row.text, kProgramVersion), row.newer) << row.name;
    }
}

}  // namespace
}  // namespace qb

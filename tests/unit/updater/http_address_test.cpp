#include "updater/http_address.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(ParseHttpAddress, Table) {
    const struct {
        const char* address;
        bool valid;
        bool secure;
        const char* host;
        uint16_t port;
        const char* target;
    } cases[] = {
        {"http://127.0.0.1:18080/r.zip", true, false, "127.0.0.1", 18080, "/r.zip"},
        {"http://h/a/b.zip?x=1&y=2", true, false, "h", 80, "/a/b.zip?x=1&y=2"},
        {"HTTP://H/r.zip", true, false, "H", 80, "/r.zip"},
        {"https://h/r.zip", true, true, "h", 443, "/r.zip"},
        {"http://h", true, false, "h", 80, "/"},
        {"http://h?q", true, false, "h", 80, "/?q"},
        {"http://h/r.zip#part", true, false, "h", 80, "/r.zip"},
        {"http://h/r.zip?v=2#part?x", true, false, "h", 80, "/r.zip?v=2"},
        {"http://h#/elsewhere", true, false, "h", 80, "/"},
        {"http://[::1]:8080/r.zip", true, false, "::1", 8080, "/r.zip"},
        {"http://[::1]/r.zip", true, false, "::1", 80, "/r.zip"},
        {"ftp://h/r.zip", false, false, "", 0, ""},
        {"h/r.zip", false, false, "", 0, ""},
        {"http:///r.zip", false, false, "", 0, ""},
        {"http://h:/r.zip", false, false, "", 0, ""},
        {"http://h:0/r.zip", false, false, "", 0, ""},
        {"http://h:65536/r.zip", false, false, "", 0, ""},
        {"http://h:8a/r.zip", false, false, "", 0, ""},
        {"http://user:pw@h/r.zip", false, false, "", 0, ""},
        {"http://[::1/r.zip", false, false, "", 0, ""},
        {"", false, false, "", 0, ""},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseHttpAddress(c.address);
        ASSERT_EQ(parsed.has_value(), c.valid) << c.address;
        if (!parsed) continue;
        EXPECT_EQ(parsed->secure, c.secure) << c.address;
        EXPECT_EQ(parsed->host, c.host) << c.address;
        EXPECT_EQ(parsed->port, c.port) << c.address;
        EXPECT_EQ(parsed->target, c.target) << c.address;
    }
}

TEST(ParseContentLength, SixtyFourBitsAndNothingButDigits) {
    EXPECT_EQ(ParseContentLength("0"), 0u);
    EXPECT_EQ(ParseContentLength(" 209715200 "), 209715200u);
    EXPECT_EQ(ParseContentLength("5000000000"), 5000000000u);
    EXPECT_EQ(ParseContentLength("18446744073709551615"), UINT64_MAX);
    EXPECT_FALSE(ParseContentLength("18446744073709551616"));
    EXPECT_FALSE(ParseContentLength(""));
    EXPECT_FALSE(ParseContentLength("-1"));
    EXPECT_FALSE(ParseContentLength("12a"));
    EXPECT_FALSE(ParseContentLength("1 2"));
}

}  // namespace
}  // namespace qb

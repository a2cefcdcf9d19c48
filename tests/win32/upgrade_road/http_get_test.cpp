// HttpGetFile against a local server (tests/win32/http_fixture.py) under Wine's WinINet.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "upgrade/http_get.h"

namespace qb {
namespace {

std::string Server() {
    const char* port = std::getenv("QB_TEST_HTTP_PORT");
    return port ? std::string("http://127.0.0.1:") + port : std::string();
}

class HttpGetFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Server().empty()) GTEST_FAIL() << "run through tests/win32/http_fixture.py";
    }
};

TEST_F(HttpGetFileTest, SendsExactlyTheRequestAndNeverTheFragment) {
    const std::string echo = HttpGetFile(Server() + "/echo/Quimbrel.xml?x=1#sig=abc");
    EXPECT_EQ(echo.rfind("GET /echo/Quimbrel.xml?x=1 HTTP/1.0\r\n", 0), 0u) << echo;
    EXPECT_NE(echo.find("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"), std::string::npos)
        << echo;
    EXPECT_NE(echo.find("Accept: */*"), std::string::npos) << echo;
    EXPECT_EQ(echo.find("sig=abc"), std::string::npos) << "the fragment reached the server";
}

TEST_F(HttpGetFileTest, BodiesWhateverTheStatus) {
    EXPECT_EQ(HttpGetFile(Server() + "/manifest"), "<root a=\"1\"/>");
    EXPECT_EQ(HttpGetFile(Server() + "/notfound"), "<html><body>404 Not Found</body></html>");
    EXPECT_EQ(HttpGetFile(Server() + "/empty"), "");
}

TEST_F(HttpGetFileTest, NothingFromAnUnusableAddressOrAClosedPort) {
    EXPECT_EQ(HttpGetFile(""), "");
    EXPECT_EQ(HttpGetFile("not a url"), "");
    EXPECT_EQ(HttpGetFile("http://127.0.0.1:1/Quimbrel.xml"), "");
    EXPECT_EQ(HttpGetFile(Server() + "/manifest"), "<root a=\"1\"/>") << "the kept handle still serves";
}

TEST_F(HttpGetFileTest, AnOversizedBodyStopsAtTheCap) {
    EXPECT_EQ(HttpGetFile(Server() + "/big").size(), kHttpBodyCap);
}

}  // namespace
}  // namespace qb

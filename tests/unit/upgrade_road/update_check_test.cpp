#include "upgrade/update_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bytes.h"
#include "upgrade/code_page_iconv.h"

namespace qb {
namespace {

struct Ended {};

const std::string kChecking = Bytes("bcecb2e2c9fdbcb6d6d02e2e2e");
const std::string kNoNewVersion = Bytes("ceb4bcecb2e2b5bdd0c2b0e6b1be");
const std::string kStandard = "Quimbrel      3.2";

std::string Manifest(const std::string& version, const std::string& notes = "fixes") {
    // UTF-8, as a server sends it.
    return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<\xE6\x9C\x80\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC>"
           "<\xE7\x89\x88\xE6\x9C\xAC\xE4\xBF\xA1\xE6\x81\xAF \xE7\x89\x88\xE6\x9C\xAC\xE5\x8F\xB7=\"" +
           version + "\" \xE5\x8D\x87\xE7\xBA\xA7\xE8\xAF\xB4\xE6\x98\x8E=\"" + notes +
           "\"/></\xE6\x9C\x80\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC>";
}

struct FakeCheckHost final : UpdateCheckHost {
    std::vector<std::string> log;
    std::string body;
    bool accept = false;
    IconvCodePageConverter converter;

    void SetCaption(const Text& caption) override { log.push_back("caption " + caption); }
    void DeployUpdater() override { log.push_back("deploy"); }
    std::string HttpGetFile(const Text& url) override {
        log.push_back("get " + url);
        return body;
    }
    CodePageConverter& Converter() override { return converter; }
    void ShowUnreachableBox() override { log.push_back("unreachable box"); }
    bool ConfirmUpgrade(const Text& text) override {
        log.push_back("prompt " + text);
        return accept;
    }
    void StartUpdater() override {
        log.push_back("start updater");
        throw Ended{};
    }
    void Sleep(uint32_t ms) override { log.push_back("sleep " + std::to_string(ms)); }
    void PumpPendingMessages() override { log.push_back("pump"); }
};

TEST(CheckForUpdate, EachOutcomeInItsOrder) {
    const std::string get = "get http://127.0.0.1:18080/Quimbrel.xml";
    const std::string prompt = "prompt " + Bytes("b7a2cfd6d3d0d0c2b0e6b1bebfc9d2d4b8fcd0c2a3a10d0a0d0ab0e6b1bebac5a3ba") +
                               "3.3" + Bytes("0d0acfc2d4d8cbb5c3f7a3ba") + "fixes";
    const struct {
        const char* what;
        std::string body;
        bool accept;
        std::vector<std::string> log;
    } rows[] = {
        {"nothing received", "", false,
         {"caption " + kChecking, "deploy", get, "unreachable box", "caption " + kStandard}},
        {"an error page", "<html><body>404 Not Found</body></html>", false,
         {"caption " + kChecking, "deploy", get, "caption " + kNoNewVersion, "sleep 3000", "caption " + kStandard,
          "pump"}},
        {"the same version", Manifest("3.2"), false,
         {"caption " + kChecking, "deploy", get, "caption " + kNoNewVersion, "sleep 3000", "caption " + kStandard,
          "pump"}},
        {"newer, declined: no pause", Manifest("3.3"), false,
         {"caption " + kChecking, "deploy", get, prompt, "caption " + kStandard, "pump"}},
        {"newer, accepted: the updater, and nothing after", Manifest("3.3"), true,
         {"caption " + kChecking, "deploy", get, prompt, "start updater"}},
    };
    for (const auto& row : rows) {
        FakeCheckHost host;
        host.body = row.body;
        host.accept = row.accept;
        ManifestDocument document;
        try {
            CheckForUpdate(host, document, {"127.0.0.1:18080", 3.2, kStandard});
        } catch (const Ended&) {
        }
        EXPECT_EQ(host.log, row.log) << row.what;
        UnloadManifestDocument(document);
    }
}

}  // namespace
}  // namespace qb

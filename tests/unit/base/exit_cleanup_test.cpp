#include "base/exit_cleanup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/process_end.h"

namespace qb {
namespace {

std::vector<std::string> g_log;

struct Ended {
    int code;
};

struct RecordingEnder final : ProcessEnder {
    void FreeLibrariesLoadedByName() override { g_log.push_back("free libraries"); }
    void OleUninitialize() override { g_log.push_back("OleUninitialize"); }
    [[noreturn]] void ExitProcess(int code) override {
        g_log.push_back("ExitProcess " + std::to_string(code));
        throw Ended{code};  // stands for the end of the process
    }
};

TEST(EndProgram, CleanupInRegistrationOrderThenTheSystemThenTheEnd) {
    g_log.clear();
    ExitCleanup cleanup;
    cleanup.Register([] { g_log.push_back("first"); });
    cleanup.Register([] { g_log.push_back("second"); });
    RecordingEnder ender;
    try {
        EndProgramWith(cleanup, ender, 0);
        FAIL() << "EndProgram came back";
    } catch (const Ended& ended) {
        EXPECT_EQ(ended.code, 0);
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"first", "second", "free libraries", "OleUninitialize",
                                               "ExitProcess 0"}));
    // A later normal exit finds nothing left to run.
    g_log.clear();
    cleanup.RunAll();
    EXPECT_TRUE(g_log.empty());
}

}  // namespace
}  // namespace qb

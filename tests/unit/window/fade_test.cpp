#include "window/fade.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "base/message_pump.h"

namespace qb {
namespace {

TEST(FadeAlphas, FromAlmostOpaqueToAlmostTransparent) {
    const auto alphas = FadeAlphas();
    EXPECT_EQ(alphas.front(), 254);
    EXPECT_EQ(alphas[1], 251);
    EXPECT_EQ(alphas.back(), 2);
    for (size_t i = 1; i < alphas.size(); ++i) EXPECT_EQ(alphas[i - 1] - alphas[i], 3) << i;
}

// A clock that gives the listed readings (then the last one plus 3 each time), and a
// log of what the fade did.
struct FakeFadeHost final : FadeHost {
    std::vector<std::string> log;
    std::deque<uint32_t> readings;
    uint32_t last = 0;
    int windowLookups = 0;

    void* MainWindow() override {
        ++windowLookups;
        return this;
    }
    void MakeLayered(void*) override { log.push_back("layered"); }
    void SetAlpha(void*, uint8_t alpha) override { log.push_back("alpha " + std::to_string(alpha)); }
    void Show(void*) override { log.push_back("show"); }
    uint32_t TickCount() override {
        if (readings.empty()) {
            last += 3;
        } else {
            last = readings.front();
            readings.pop_front();
        }
        log.push_back("tick");
        return last;
    }
    void PumpPendingMessages() override { log.push_back("pump"); }
};

TEST(FadePause, PumpsTwiceChecksTheClockThenPumpsTwiceMore) {
    FakeFadeHost host;
    host.readings = {100, 101, 102, 103};  // exactly 2 ms is not enough; 3 is
    FadePause(host);
    EXPECT_EQ(host.log, (std::vector<std::string>{"tick", "pump", "pump", "tick", "pump", "pump", "pump", "pump",
                                                  "tick", "pump", "pump", "pump", "pump", "tick"}));
}

TEST(FadePause, EndsWhenTheTickCountWrapsAround) {
    FakeFadeHost host;
    host.readings = {0xFFFFFFFEu, 2};  // 4 ms in unsigned arithmetic
    FadePause(host);
    EXPECT_EQ(host.log, (std::vector<std::string>{"tick", "pump", "pump", "tick"}));
}

TEST(FadeOutWith, EightyFiveLayeredStepsEachShownAndPaused) {
    FakeFadeHost host;
    FadeOutWith(host);
    std::vector<std::string> steps;
    for (const std::string& entry : host.log) {
        if (entry != "tick" && entry != "pump") steps.push_back(entry);
    }
    ASSERT_EQ(steps.size(), 3u * kFadeSteps);
    const auto alphas = FadeAlphas();
    for (int i = 0; i < kFadeSteps; ++i) {
        EXPECT_EQ(steps[3 * i], "layered") << i;
        EXPECT_EQ(steps[3 * i + 1], "alpha " + std::to_string(alphas[i])) << i;
        EXPECT_EQ(steps[3 * i + 2], "show") << i;
    }
    EXPECT_EQ(host.windowLookups, kFadeSteps);
}

struct FakeQueue final : MessageQueue {
    std::deque<std::string> messages;
    std::vector<std::string> dispatched;
    bool PeekHead(bool& isQuit) override {
        if (messages.empty()) return false;
        isQuit = messages.front() == "WM_QUIT";
        return true;
    }
    void DispatchHead() override {
        dispatched.push_back(messages.front());
        messages.pop_front();
    }
};

TEST(PumpPendingMessages, StopsAtAQuitAndLeavesItQueued) {
    const struct {
        std::deque<std::string> queue;
        std::vector<std::string> dispatched;
        std::deque<std::string> left;
    } rows[] = {
        {{"WM_TIMER", "WM_PAINT"}, {"WM_TIMER", "WM_PAINT"}, {}},
        {{"WM_QUIT", "WM_TIMER"}, {}, {"WM_QUIT", "WM_TIMER"}},
        {{"WM_TIMER", "WM_QUIT", "WM_PAINT"}, {"WM_TIMER"}, {"WM_QUIT", "WM_PAINT"}},
        {{}, {}, {}},
    };
    for (const auto& row : rows) {
        FakeQueue queue;
        queue.messages = row.queue;
        PumpPendingMessagesFrom(queue);
        EXPECT_EQ(queue.dispatched, row.dispatched);
        EXPECT_EQ(queue.messages, row.left);
    }
}

}  // namespace
}  // namespace qb

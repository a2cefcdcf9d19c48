#include "about/about_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/timer_period.h"
#include "bytes.h"

namespace qb {
namespace {

TEST(AboutTexts, ExactBytes) {
    const std::string second = Bytes("0d0a0d0a 20 5151 a3ba 333830313134353237");  // \r\n\r\n QQ：380114527
    EXPECT_EQ(AboutOpeningText(), Bytes("44617374726f77") + second);
    EXPECT_EQ(AboutTickText(5), Bytes("44617374726f77 202020 28 35 29") + second);
    EXPECT_EQ(AboutTickText(0), Bytes("44617374726f77 202020 28 30 29") + second);
    EXPECT_EQ(AboutTickText(12), Bytes("44617374726f77 202020 28 3132 29") + second) << "no leading zero, no padding";
    EXPECT_EQ(AboutTickText(-1), Bytes("44617374726f77 202020 28 2d31 29") + second);
    EXPECT_EQ(std::string(kAboutBoxCaption), Bytes("b9d8d3dad7f7d5df"));  // 关于作者
}

// A message box and 时钟1关于 as the about box sees them. The box's modal loop is a loop
// of timer ticks here, one per second, that the user may cut short by pressing OK.
struct Desk final : AboutBoxHost {
    int32_t countdown = kAboutCountdownReset;
    int32_t period = 0;
    bool boxOpen = false;
    bool enterPosted = false;
    Text userPressesOkAt;  // the text at which the user closes the box, if any
    std::vector<std::string> log;

    static std::string Label(const Text& text) {
        if (text == AboutOpeningText()) return "opening";
        for (int n = -1; n <= 6; ++n) {
            if (text == AboutTickText(n)) return "(" + std::to_string(n) + ")";
        }
        return "unexpected text";
    }
    void SetTimerPeriod(int32_t requested) override {
        const TimerPeriodChange change = PlanTimerPeriod(period, requested);
        if (change.stop) log.push_back("timer stopped");
        if (change.start) log.push_back("timer started " + std::to_string(change.period));
        if (!change.stop && !change.start) log.push_back("timer unchanged");
        period = change.period;
    }
    void ShowBox(const Text& text, const Text& caption) override {
        ASSERT_EQ(caption, Bytes("b9d8d3dad7f7d5df"));
        boxOpen = true;
        log.push_back("box " + Label(text));
        Text shown = text;
        for (int guard = 0; guard < 20 && boxOpen; ++guard) {
            if (!userPressesOkAt.empty() && shown == userPressesOkAt) break;
            if (period == 0) {
                log.push_back("waits for the user with the timer stopped");
                break;
            }
            Tick();
            if (enterPosted) break;
            shown = lastText;
        }
        boxOpen = false;
        enterPosted = false;
        log.push_back("box closed");
    }
    AboutBox FindBox(const Text& caption) override {
        return boxOpen && caption == Bytes("b9d8d3dad7f7d5df") ? AboutBox{42} : AboutBox{0};
    }
    void SetBoxText(AboutBox box, const Text& text) override {
        EXPECT_EQ(box, AboutBox{42});
        lastText = text;
        log.push_back(Label(text));
    }
    void PressEnter(AboutBox box) override {
        EXPECT_EQ(box, AboutBox{42});
        enterPosted = true;
        log.push_back("enter");
    }
    void Tick() { AboutTimerTick(*this, countdown); }

    Text lastText;
};

const std::vector<std::string> kFullCount = {"(5)", "(4)", "(3)", "(2)", "(1)", "(0)", "enter", "timer stopped",
                                             "box closed"};

std::vector<std::string> Then(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(AboutCountdown, LeftAloneCountsFiveToZeroAndClosesItself) {
    Desk desk;
    ShowAboutBox(desk);
    EXPECT_EQ(desk.log, Then({"timer started 1000", "box opening"}, kFullCount));
    EXPECT_EQ(desk.countdown, 6);
    EXPECT_EQ(desk.period, 0);

    // And the next box does it all again.
    desk.log.clear();
    ShowAboutBox(desk);
    EXPECT_EQ(desk.log, Then({"timer started 1000", "box opening"}, kFullCount));
}

TEST(AboutCountdown, ClosedAtFourTheNextBoxGoesOnFromThree) {
    Desk desk;
    desk.userPressesOkAt = AboutTickText(4);
    ShowAboutBox(desk);
    EXPECT_EQ(desk.log, (std::vector<std::string>{"timer started 1000", "box opening", "(5)", "(4)", "box closed"}));
    desk.log.clear();
    desk.Tick();  // the timer's next tick finds no box
    EXPECT_EQ(desk.log, std::vector<std::string>{"timer stopped"});
    EXPECT_EQ(desk.countdown, 4) << "an early close keeps the count";

    desk.log.clear();
    desk.userPressesOkAt.clear();
    ShowAboutBox(desk);
    EXPECT_EQ(desk.log, (std::vector<std::string>{"timer started 1000", "box opening", "(3)", "(2)", "(1)", "(0)",
                                                  "enter", "timer stopped", "box closed"}));
    EXPECT_EQ(desk.countdown, 6);
}

TEST(AboutCountdown, ReopenedBeforeTheNextTickTheRunningTimerIsNotRestarted) {
    Desk desk;
    desk.userPressesOkAt = AboutTickText(4);
    ShowAboutBox(desk);
    desk.log.clear();
    desk.userPressesOkAt.clear();
    ShowAboutBox(desk);  // within the same second: no tick in between
    EXPECT_EQ(desk.log, (std::vector<std::string>{"timer unchanged", "box opening", "(3)", "(2)", "(1)", "(0)",
                                                  "enter", "timer stopped", "box closed"}));
}

TEST(AboutCountdown, ClosedBeforeTheFirstTickTheNextBoxCountsInFull) {
    Desk desk;
    desk.userPressesOkAt = AboutOpeningText();
    ShowAboutBox(desk);
    desk.Tick();
    EXPECT_EQ(desk.countdown, 6);
    EXPECT_EQ(desk.period, 0);
    desk.log.clear();
    desk.userPressesOkAt.clear();
    ShowAboutBox(desk);
    EXPECT_EQ(desk.log, Then({"timer started 1000", "box opening"}, kFullCount));
}

TEST(AboutCountdown, ATickWithoutABoxOnlyStopsTheTimer) {
    Desk desk;
    desk.countdown = 3;
    desk.period = 1000;
    desk.Tick();
    EXPECT_EQ(desk.log, std::vector<std::string>{"timer stopped"});
    EXPECT_EQ(desk.countdown, 3);
    desk.log.clear();
    desk.Tick();  // already stopped: stopping again changes nothing
    EXPECT_EQ(desk.log, std::vector<std::string>{"timer unchanged"});
    EXPECT_EQ(desk.countdown, 3);
}

}  // namespace
}  // namespace qb

#include <gtest/gtest.h>

#include "app/command_route.h"
#include "app/keyboard.h"
#include "app/main_window_def.h"
#include "app/timer_period.h"
#include "bytes.h"

namespace qb {
namespace {

TEST(PlanTimerPeriod, FollowsThePeriodRules) {
    const struct {
        int32_t current, requested;
        TimerPeriodChange expected;
        const char* what;
    } rows[] = {
        {0, 1000, {1000, false, true}, "start"},
        {1000, 1000, {1000, false, false}, "same period: no restart"},
        {1000, 0, {0, true, false}, "stop"},
        {1000, -5, {0, true, false}, "negative stops like 0"},
        {0, -5, {0, false, false}, "negative while stopped"},
        {0, 0, {0, false, false}, "stopped stays stopped"},
        {1000, 500, {500, true, true}, "another period restarts"},
    };
    for (const auto& row : rows) {
        const TimerPeriodChange change = PlanTimerPeriod(row.current, row.requested);
        EXPECT_EQ(change.period, row.expected.period) << row.what;
        EXPECT_EQ(change.stop, row.expected.stop) << row.what;
        EXPECT_EQ(change.start, row.expected.start) << row.what;
    }
}

TEST(PlanMainWindowKey, EscTabAndTheInertKeys) {
    FocusableButtons all;
    all.fill(true);
    FocusableButtons some = all;
    some[1] = false;   // 按钮2 disabled
    some[20] = false;  // 按钮21 hidden
    const struct {
        KeyPress key;
        int focused;
        const FocusableButtons* focusable;
        KeyVerdict verdict;
        int button;
        const char* what;
    } rows[] = {
        {{0x1B, false, false, false}, 5, &all, KeyVerdict::Close, 0, "Esc closes"},
        {{0x1B, false, false, false}, 0, &all, KeyVerdict::Close, 0, "Esc on the window itself"},
        {{0x1B, false, true, false}, 5, &all, KeyVerdict::Swallow, 0, "Shift+Esc does nothing"},
        {{0x1B, true, false, false}, 5, &all, KeyVerdict::Swallow, 0, "Ctrl+Esc does nothing"},
        {{0x09, false, false, false}, 1, &all, KeyVerdict::FocusButton, 2, "Tab follows the numbers"},
        {{0x09, false, false, false}, 3, &all, KeyVerdict::FocusButton, 4, "not the grid nor the z-order"},
        {{0x09, false, false, false}, 21, &all, KeyVerdict::FocusButton, 1, "Tab from 21 wraps to 1"},
        {{0x09, false, true, false}, 1, &all, KeyVerdict::FocusButton, 21, "Shift+Tab from 1 wraps to 21"},
        {{0x09, false, true, false}, 12, &all, KeyVerdict::FocusButton, 11, "Shift+Tab goes back"},
        {{0x09, false, false, false}, 0, &all, KeyVerdict::FocusButton, 1, "Tab from the window"},
        {{0x09, false, false, false}, 1, &some, KeyVerdict::FocusButton, 3, "a disabled button is skipped"},
        {{0x09, false, false, false}, 20, &some, KeyVerdict::FocusButton, 1, "a hidden button is skipped"},
        {{0x09, false, true, false}, 3, &some, KeyVerdict::FocusButton, 1, "skipped backwards too"},
        {{0x0D, false, false, false}, 4, &all, KeyVerdict::Swallow, 0, "Enter clicks nothing"},
        {{0x25, false, false, false}, 4, &all, KeyVerdict::Swallow, 0, "Left arrow"},
        {{0x28, false, false, false}, 4, &all, KeyVerdict::Swallow, 0, "Down arrow"},
        {{0x20, false, false, false}, 4, &all, KeyVerdict::PassOn, 0, "Space is the button's own"},
        {{'D', false, false, true}, 4, &all, KeyVerdict::PassOn, 0, "letters go on to the menu bar"},
    };
    for (const auto& row : rows) {
        const KeyOutcome outcome = PlanMainWindowKey(row.key, row.focused, *row.focusable);
        EXPECT_EQ(outcome.verdict, row.verdict) << row.what;
        if (row.verdict == KeyVerdict::FocusButton) {
            EXPECT_EQ(outcome.button, row.button) << row.what;
        }
    }
    FocusableButtons none{};
    EXPECT_EQ(PlanMainWindowKey({0x09, false, false, false}, 0, none).verdict, KeyVerdict::Swallow);
}

TEST(RouteCommand, EveryButtonAndMenuItemReachesItsHandler) {
    for (const ControlDef& control : kControls) {
        const CommandRoute route = RouteCommand(control.id);
        if (control.kind != ControlKind::Button) {
            EXPECT_EQ(route.handler, CommandHandler::None) << control.id;
        } else if (control.id == kFirstButtonId + 3) {
            EXPECT_EQ(route.handler, CommandHandler::TaskManagerToggle);
        } else {
            ASSERT_EQ(route.handler, CommandHandler::Launch) << control.id;
            EXPECT_EQ(route.launch->control, control.name);
        }
    }
    for (const MenuItemDef& item : kMenu) {
        if (item.commandId == 0) continue;
        const CommandRoute route = RouteCommand(item.commandId);
        if (item.caption == Bytes("bcecb2e2c9fdbcb6")) {
            EXPECT_EQ(route.handler, CommandHandler::CheckForUpdate);
        } else if (item.caption == Bytes("b9d8d3da28265929")) {
            EXPECT_EQ(route.handler, CommandHandler::About);
        } else {
            ASSERT_EQ(route.handler, CommandHandler::Launch) << item.commandId;
            EXPECT_EQ(route.launch->control, item.caption);
        }
    }
    EXPECT_EQ(RouteCommand(0).handler, CommandHandler::None);
    EXPECT_EQ(RouteCommand(4242).handler, CommandHandler::None);
}

TEST(CentredWindowRect, TruncatesTowardZero) {
    EXPECT_EQ(CentredWindowRect(1024, 768), (Rect{377, 248, 647, 519}));
    EXPECT_EQ(CentredWindowRect(1025, 769), (Rect{377, 249, 647, 520}));
    EXPECT_EQ(CentredWindowRect(200, 200), (Rect{-35, -35, 235, 236}));  // -35.5 and -35.5 toward zero
}

}  // namespace
}  // namespace qb

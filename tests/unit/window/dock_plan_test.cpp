#include "window/dock_plan.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using enum DockOpKind;

constexpr int32_t SW = 1024;
constexpr int32_t SH = 768;

DockTickInputs Tick(Rect window, Point cursor, int32_t justShown = 0, bool topmost = false) {
    DockTickInputs in;
    in.window = window;
    in.screenWidth = SW;
    in.screenHeight = SH;
    in.cursorKnown = true;
    in.cursor = cursor;
    in.stripWidth = kStripWidth;
    in.dockJustShown = justShown;
    in.topmostApplied = topmost;
    return in;
}

struct Expected {
    const char* what;
    DockTickInputs in;
    int setWindowPosAt;      // index of the one SetWindowPos in the list, -1 for none
    DockOpKind setWindowPos;
    size_t moves;            // MoveWindow calls
    Point firstMove, lastMove;
    bool topmostAfter;
    int32_t justShownAfter;
};

// 270 x 271 on 1024 x 768, strip 1.
const Expected kTicks[] = {
    {"docked left, cursor away: topmost, then in to x = -269", Tick({0, 100, 270, 371}, {500, 500}), 0, MakeTopmost,
     269, {-1, 100}, {-269, 100}, true, 0},
    {"hidden left, cursor on the strip: out to 0", Tick({-269, 100, 1, 371}, {0, 200}, 0, true), -1, MakeTopmost, 269,
     {-268, 100}, {0, 100}, false, 0},
    {"hidden left, cursor at x = R counts as inside", Tick({-269, 100, 1, 371}, {1, 200}, 0, true), -1, MakeTopmost,
     269, {-268, 100}, {0, 100}, false, 0},
    {"hidden left, cursor at x = R + 1 is outside", Tick({-269, 100, 1, 371}, {2, 200}, 0, true), -1, MakeTopmost, 0,
     {}, {}, true, 0},
    {"docked right: in to L = 1023", Tick({754, 100, 1024, 371}, {100, 100}), 0, MakeTopmost, 269, {755, 100},
     {1023, 100}, true, 0},
    {"hidden right, cursor on the strip: back to 754", Tick({1023, 100, 1293, 371}, {1023, 200}, 0, true), -1,
     MakeTopmost, 269, {1022, 100}, {754, 100}, false, 0},
    {"docked top: in to y = -270", Tick({300, 0, 570, 271}, {100, 600}), 0, MakeTopmost, 270, {300, -1}, {300, -270},
     true, 0},
    {"hidden top, cursor at y = 1: out to 0", Tick({300, -270, 570, 1}, {570, 1}, 0, true), -1, MakeTopmost, 270,
     {300, -269}, {300, 0}, false, 0},
    {"hidden top, cursor at y = 2 is outside", Tick({300, -270, 570, 1}, {400, 2}, 0, true), -1, MakeTopmost, 0, {},
     {}, true, 0},
    {"just shown holds a docked window out", Tick({0, 100, 270, 371}, {500, 500}, 1), 0, MakeTopmost, 0, {}, {}, true,
     1},
    {"just shown cleared at the first tick with the cursor inside", Tick({0, 100, 270, 371}, {100, 200}, 1, true), -1,
     MakeTopmost, 0, {}, {}, true, 0},
    {"at -10 it is topmost but never slides", Tick({-10, 100, 260, 371}, {500, 500}), 0, MakeTopmost, 0, {}, {}, true,
     0},
    {"dragged away: not topmost any more", Tick({400, 200, 670, 471}, {500, 300}, 0, true), 0, MakeNotTopmost, 0, {},
     {}, false, 0},
    {"free and not topmost: nothing at all", Tick({400, 200, 670, 471}, {10, 10}), -1, MakeTopmost, 0, {}, {}, false,
     0},
    {"the bottom edge never docks", Tick({400, 497, 670, 768}, {10, 10}), -1, MakeTopmost, 0, {}, {}, false, 0},
    {"hidden right after the screen grew stays put",
     [] {
         DockTickInputs in = Tick({1023, 100, 1293, 371}, {1023, 200}, 0, true);
         in.screenWidth = 1280;
         return in;
     }(),
     -1, MakeTopmost, 0, {}, {}, true, 0},
    {"failed GetWindowRect: 0,0,0,0 touches an edge, nothing moves", Tick({0, 0, 0, 0}, {500, 500}), 0, MakeTopmost, 0,
     {}, {}, true, 0},
};

TEST(PlanDockTick, SlidesAndTopmostRules) {
    for (const Expected& row : kTicks) {
        const DockTickPlan plan = PlanDockTick(row.in);
        int setAt = -1;
        size_t moves = 0;
        for (size_t i = 0; i < plan.ops.size(); ++i) {
            const DockOp& op = plan.ops[i];
            if (op.kind == Move) {
                ++moves;
                EXPECT_EQ(op.width, row.in.window.Width()) << row.what;
                EXPECT_EQ(op.height, row.in.window.Height()) << row.what;
            } else {
                EXPECT_EQ(setAt, -1) << row.what << ": a second SetWindowPos";
                EXPECT_EQ(op.kind, row.setWindowPos) << row.what;
                setAt = static_cast<int>(i);
            }
        }
        EXPECT_EQ(setAt, row.setWindowPosAt) << row.what;
        ASSERT_EQ(moves, row.moves) << row.what;
        if (moves) {
            const DockOp& first = plan.ops[plan.ops.size() - moves];
            EXPECT_EQ((Point{first.x, first.y}), row.firstMove) << row.what;
            EXPECT_EQ((Point{plan.ops.back().x, plan.ops.back().y}), row.lastMove) << row.what;
            // One pixel a call, along one axis.
            for (size_t i = plan.ops.size() - moves + 1; i < plan.ops.size(); ++i) {
                const int step = std::abs(plan.ops[i].x - plan.ops[i - 1].x) + std::abs(plan.ops[i].y - plan.ops[i - 1].y);
                ASSERT_EQ(step, 1) << row.what << " at call " << i;
            }
        }
        EXPECT_EQ(plan.topmostApplied, row.topmostAfter) << row.what;
        EXPECT_EQ(plan.dockJustShown, row.justShownAfter) << row.what;
        EXPECT_EQ(plan.windowWidth, row.in.window.Width()) << row.what;
        EXPECT_EQ(plan.windowHeight, row.in.window.Height()) << row.what;
        EXPECT_EQ(plan.screenWidth, row.in.screenWidth) << row.what;
        EXPECT_EQ(plan.screenHeight, SH) << row.what;
    }
}

// Runs ticks as the timer would, applying the planned moves to the rectangle.
Rect RunTicks(Rect window, Point cursor, int ticks, bool& topmost) {
    for (int i = 0; i < ticks; ++i) {
        DockTickInputs in = Tick(window, cursor, 0, topmost);
        const DockTickPlan plan = PlanDockTick(in);
        topmost = plan.topmostApplied;
        for (const DockOp& op : plan.ops) {
            if (op.kind == Move) window = {op.x, op.y, op.x + op.width, op.y + op.height};
        }
    }
    return window;
}

TEST(PlanDockTick, TopLeftCornerTakesLeftThenTopAtSuccessiveTicks) {
    bool topmost = false;
    const Rect corner{0, 0, 270, 271};
    EXPECT_EQ(RunTicks(corner, {600, 600}, 1, topmost), (Rect{-269, 0, 1, 271})) << "left first";
    EXPECT_EQ(RunTicks(corner, {600, 600}, 2, topmost = false), (Rect{-269, -270, 1, 1})) << "then the top";
    EXPECT_EQ(RunTicks(corner, {600, 600}, 5, topmost = false), (Rect{-269, -270, 1, 1})) << "then it rests";

    const Rect hidden{-269, -270, 1, 1};
    EXPECT_EQ(RunTicks(hidden, {0, 0}, 1, topmost), (Rect{0, -270, 270, 1})) << "out from the left first";
    EXPECT_EQ(RunTicks(hidden, {0, 0}, 2, topmost), (Rect{0, 0, 270, 271})) << "then out of the top";
}

TEST(PlanDockTick, SlideOutMakesTheNextTickTopmostAgain) {
    DockTickPlan out = PlanDockTick(Tick({-269, 100, 1, 371}, {0, 200}, 0, true));
    ASSERT_FALSE(out.topmostApplied);
    const DockTickPlan next = PlanDockTick(Tick({0, 100, 270, 371}, {100, 200}, 0, out.topmostApplied));
    ASSERT_EQ(next.ops.size(), 1u);
    EXPECT_EQ(next.ops[0].kind, MakeTopmost);
}

TEST(PlanDockTick, UnreadableCursorSlidesNeitherWay) {
    DockTickInputs in = Tick({0, 100, 270, 371}, {}, 0, true);
    in.cursorKnown = false;
    EXPECT_TRUE(PlanDockTick(in).ops.empty()) << "docked: no slide in";
    in.window = {-269, 100, 1, 371};
    EXPECT_TRUE(PlanDockTick(in).ops.empty()) << "hidden: no slide out";
    in.dockJustShown = 1;
    EXPECT_EQ(PlanDockTick(in).ops.size(), 269u) << "just shown: out, as with the cursor outside";
}

DockState Measured(int32_t windowWidth = 270, int32_t windowHeight = 271) {
    DockState state;
    state.minTrackWidth = kMinTrackSize;
    state.minTrackHeight = kMinTrackSize;
    state.windowWidth = windowWidth;
    state.windowHeight = windowHeight;
    state.screenWidth = SW;
    state.screenHeight = SH;
    return state;
}

TEST(ClampDragRect, StopsFlushWithTheEdges) {
    const struct {
        Rect in, out;
        int32_t windowWidth;
        const char* what;
    } rows[] = {
        {{-20, 50, 250, 321}, {0, 50, 270, 321}, 270, "past the left"},
        {{0, 50, 260, 321}, {0, 50, 270, 321}, 270, "left at 0 takes the measured width"},
        {{100, 0, 370, 271}, {100, 0, 370, 271}, 270, "top at 0 is left alone"},
        {{100, -1, 370, 270}, {100, 0, 370, 271}, 270, "top below 0"},
        {{754, 50, 1024, 321}, {754, 50, 1024, 321}, 270, "right at the screen's width"},
        {{800, 50, 1070, 321}, {754, 50, 1024, 321}, 270, "past the right"},
        {{100, 497, 370, 768}, {100, 497, 370, 768}, 270, "bottom at the screen's height is left alone"},
        {{100, 500, 370, 771}, {100, 497, 370, 768}, 270, "past the bottom"},
        {{-5, -5, 265, 266}, {0, 0, 270, 271}, 270, "off the top-left corner"},
        {{-5, 10, 1195, 281}, {-176, 10, 1024, 281}, 1200, "wider than the screen"},
        {{300, 300, 570, 571}, {300, 300, 570, 571}, 270, "inside: unchanged"},
    };
    for (const auto& row : rows) {
        Rect rect = row.in;
        ClampDragRect(rect, Measured(row.windowWidth));
        EXPECT_EQ(rect, row.out) << row.what;
    }
}

TEST(ApplyTrackLimits, MinimumAndMaximumTrackingSizes) {
    const struct {
        int32_t taskbarHeight;
        int32_t windowHeight;
        Point maxTrack;
        const char* what;
    } rows[] = {
        {30, 271, {1024, 738}, "no taskbar found"},
        {40, 271, {1024, 728}, "bottom taskbar"},
        {768, 271, {1024, 271}, "side taskbar as tall as the screen: never below the window"},
        {700, 271, {1024, 271}, "taskbar leaving less than the window"},
    };
    for (const auto& row : rows) {
        MinMaxInfo info;
        info.reserved = {1, 2};
        info.maxSize = {3, 4};
        info.maxPosition = {5, 6};
        ApplyTrackLimits(info, Measured(270, row.windowHeight), row.taskbarHeight);
        EXPECT_EQ(info.minTrackSize, (Point{100, 100})) << row.what;
        EXPECT_EQ(info.maxTrackSize, row.maxTrack) << row.what;
        EXPECT_EQ(info.reserved, (Point{1, 2})) << row.what;
        EXPECT_EQ(info.maxSize, (Point{3, 4})) << row.what;
        EXPECT_EQ(info.maxPosition, (Point{5, 6})) << row.what;
    }
}

TEST(HookIsActive, OnlyOnceAllFourSizesAreMeasured) {
    EXPECT_FALSE(HookIsActive(DockState{}));
    EXPECT_TRUE(HookIsActive(Measured()));
    DockState partial = Measured();
    partial.screenHeight = 0;
    EXPECT_FALSE(HookIsActive(partial));
    DockState negative = Measured();
    negative.windowWidth = -1;
    EXPECT_FALSE(HookIsActive(negative));
}

}  // namespace
}  // namespace qb

namespace qb {
namespace {

// Wherever the tick skips the cursor, the plan must be the one it would have made with
// the cursor anywhere at all.
TEST(DockTickNeedsCursor, SkippedOnlyWhereTheCursorCannotMatter) {
    const Rect windows[] = {{377, 248, 647, 519}, {0, 100, 270, 371},    {-269, 100, 1, 371}, {754, 100, 1024, 371},
                            {1023, 100, 1293, 371}, {300, 0, 570, 271}, {300, -270, 570, 1}, {-10, 100, 260, 371},
                            {400, 497, 670, 768},   {0, 0, 270, 271},   {-269, -270, 1, 1},  {0, 0, 0, 0}};
    const Point cursors[] = {{0, 0}, {1, 200}, {500, 380}, {1023, 200}, {400, 0}, {2000, 2000}};
    for (const Rect& window : windows) {
        for (int32_t justShown : {0, 1}) {
            if (DockTickNeedsCursor(window, 1024, kStripWidth, justShown)) continue;
            DockTickInputs blind = Tick(window, {}, justShown);
            blind.cursorKnown = false;
            const DockTickPlan expected = PlanDockTick(blind);
            for (const Point& cursor : cursors) {
                DockTickInputs seeing = blind;
                seeing.cursorKnown = true;
                seeing.cursor = cursor;
                const DockTickPlan plan = PlanDockTick(seeing);
                EXPECT_EQ(plan.ops, expected.ops) << window.left << "," << window.top;
                EXPECT_EQ(plan.dockJustShown, expected.dockJustShown) << window.left << "," << window.top;
                EXPECT_EQ(plan.topmostApplied, expected.topmostApplied) << window.left << "," << window.top;
            }
        }
    }
    EXPECT_FALSE(DockTickNeedsCursor({377, 248, 647, 519}, 1024, kStripWidth, 0)) << "a free window is spared";
    EXPECT_TRUE(DockTickNeedsCursor({377, 248, 647, 519}, 1024, kStripWidth, 1)) << "the just-shown flag waits";
}

}  // namespace
}  // namespace qb

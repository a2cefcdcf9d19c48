#include "app/control_skin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qb::skin {
namespace {

std::string Show(Colour c) {
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

TEST(SkinScheme, OnlySchemeOneExistsAndItsFramesAreBlue) {
    const Scheme* blue = FindScheme(1);
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ(Show(blue->frame), "123,158,189");
    for (int other : {0, 2, -1, 100}) EXPECT_EQ(FindScheme(other), nullptr) << other;
}

TEST(SkinParts, PushButtonsAndGroupBoxesOnly) {
    struct Row {
        const char* name;
        uint32_t style;
        Part part;
    };
    const Row rows[] = {
        {"push button", 0x0000, Part::PushButton},
        {"default push button", 0x0001, Part::PushButton},
        {"the main window's buttons", 0x54012F00, Part::PushButton},
        {"group box", 0x0007, Part::GroupBox},
        {"the main window's frames", 0x54000107, Part::GroupBox},
        {"check box", 0x0002, Part::None},
        {"auto check box", 0x0003, Part::None},
        {"radio button", 0x0004, Part::None},
        {"3-state", 0x0005, Part::None},
        {"auto radio button", 0x0009, Part::None},
        {"owner-drawn", 0x000B, Part::None},
        {"icon push button", 0x0040, Part::None},
        {"bitmap push button", 0x0080, Part::None},
    };
    for (const Row& row : rows) EXPECT_EQ(PartForStyle(row.style), row.part) << row.name;
}

TEST(SkinTextLayout, FollowsTheButtonStyles) {
    struct Row {
        const char* name;
        uint32_t style;
        uint32_t exStyle;
        Align horizontal;
        Align vertical;
        bool wrap;
    };
    using enum Align;
    const Row rows[] = {
        {"plain push button: centred, one line", 0x0000, 0, Centre, Centre, false},
        {"the main window's: multiline, centred both ways", 0x2F00, 0, Centre, Centre, true},
        {"left and top", 0x0500, 0, Start, Start, false},
        {"right and bottom", 0x0A00, 0, End, End, false},
        {"WS_EX_RIGHT wins over the style", 0x0100, 0x1000, End, Centre, false},
        {"group box: left and on the frame line", 0x0007, 0, Start, Start, false},
        {"group box with BS_CENTER and BS_BOTTOM", 0x0B07, 0, Centre, Start, false},
        {"multiline group box wraps", 0x2007, 0, Start, Start, true},
    };
    for (const Row& row : rows) {
        const TextLayout layout = LayoutForStyle(row.style, row.exStyle);
        EXPECT_EQ(layout.horizontal, row.horizontal) << row.name;
        EXPECT_EQ(layout.vertical, row.vertical) << row.name;
        EXPECT_EQ(layout.wrap, row.wrap) << row.name;
    }
}

// A look as what reaches the screen: a state nobody can tell apart from another is a fault.
std::string Describe(const PushLook& look) {
    std::string text = "frame " + Show(look.frame) + " face " + Show(look.faceTop) + ">" + Show(look.faceBottom) +
                       " text " + Show(look.text) + " shift " + std::to_string(look.textShift);
    if (look.ring) text += " ring " + Show(*look.ring);
    if (look.highlight) text += " highlight " + Show(*look.highlight);
    if (look.focusCue) text += " focus " + Show(*look.focusCue);
    return text;
}

TEST(SkinPushLook, EveryStateLooksDifferentAndKeepsTheBlueFrame) {
    const Scheme& scheme = *FindScheme(1);
    struct Row {
        const char* name;
        PushState state;
    };
    const Row rows[] = {
        {"normal", {}},
        {"hot", {.hot = true}},
        {"pressed", {.pressed = true, .hot = true}},
        {"focused", {.focused = true}},
        {"disabled", {.enabled = false}},
        {"default", {.isDefault = true}},
        {"focused and hot", {.hot = true, .focused = true}},
    };
    std::vector<std::string> seen;
    for (const Row& row : rows) {
        const PushLook look = PushLookFor(scheme, row.state);
        EXPECT_EQ(Show(look.frame), "123,158,189") << row.name;
        const std::string described = Describe(look);
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_NE(described, seen[i]) << row.name << " looks like " << rows[i].name;
        }
        seen.push_back(described);
    }
}

TEST(SkinPushLook, TheKeyboardFocusIsShownWhateverElseHolds) {
    const Scheme& scheme = *FindScheme(1);
    for (PushState state : {PushState{.focused = true}, PushState{.pressed = true, .hot = true, .focused = true},
                            PushState{.hot = true, .focused = true, .isDefault = true}}) {
        EXPECT_TRUE(PushLookFor(scheme, state).focusCue.has_value());
    }
    EXPECT_FALSE(PushLookFor(scheme, PushState{.hot = true, .isDefault = true}).focusCue.has_value());
}

TEST(SkinPushLook, DisabledTextIsFainterThanEnabledText) {
    const Scheme& scheme = *FindScheme(1);
    const Colour enabled = PushLookFor(scheme, {}).text;
    const Colour disabled = PushLookFor(scheme, {.enabled = false}).text;
    const auto light = [](Colour c) { return c.red + c.green + c.blue; };
    EXPECT_GT(light(disabled), light(enabled) + 150);
    EXPECT_EQ(PushLookFor(scheme, {.enabled = false, .pressed = true}).textShift, 0) << "a disabled button never moves";
}

TEST(SkinGroupLook, BlueFrameAndFaintCaptionWhenDisabled) {
    const Scheme& scheme = *FindScheme(1);
    EXPECT_EQ(Show(GroupLookFor(scheme, true).frame), "123,158,189");
    EXPECT_EQ(Show(GroupLookFor(scheme, false).frame), "123,158,189");
    EXPECT_NE(GroupLookFor(scheme, true).text, GroupLookFor(scheme, false).text);
}

TEST(SkinMix, EndsAndSteps) {
    const Colour white{255, 255, 255}, blue{123, 158, 189};
    struct Row {
        int step, steps;
        const char* expected;
    };
    const Row rows[] = {
        {0, 10, "255,255,255"},   {10, 10, "123,158,189"}, {5, 10, "189,207,222"},
        {1, 2, "189,207,222"},    {-3, 10, "255,255,255"}, {11, 10, "123,158,189"},
        {3, 0, "255,255,255"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Show(Mix(white, blue, row.step, row.steps)), row.expected) << row.step << "/" << row.steps;
    }
    EXPECT_EQ(Show(Mix(blue, white, 1, 2)), "189,207,222") << "the same midpoint either way";
}

TEST(SkinGroupFrame, RunsThroughTheMiddleOfTheCaptionLine) {
    EXPECT_EQ(GroupFrameTop(12), 5);
    EXPECT_EQ(GroupFrameTop(13), 5);
    EXPECT_EQ(GroupFrameTop(16), 7);
}

}  // namespace
}  // namespace qb::skin

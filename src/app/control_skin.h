#pragma once

#include <cstdint>
#include <optional>

namespace qb::skin {

// The Win32 style values the skin reads; the adapter checks them against <windows.h>.
namespace style {
constexpr uint32_t kTypeMask = 0x000F;
constexpr uint32_t kPushButton = 0x0000;
constexpr uint32_t kDefPushButton = 0x0001;
constexpr uint32_t kGroupBox = 0x0007;
constexpr uint32_t kIcon = 0x0040;
constexpr uint32_t kBitmap = 0x0080;
constexpr uint32_t kLeft = 0x0100;
constexpr uint32_t kRight = 0x0200;
constexpr uint32_t kCentre = 0x0300;
constexpr uint32_t kTop = 0x0400;
constexpr uint32_t kBottom = 0x0800;
constexpr uint32_t kVCentre = 0x0C00;
constexpr uint32_t kMultiLine = 0x2000;
constexpr uint32_t kExRight = 0x1000;  // WS_EX_RIGHT
}  // namespace style

struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// `step` of `steps` along the way from one colour to the other, rounded to nearest.
Colour Mix(Colour from, Colour to, int32_t step, int32_t steps);

// What the skin paints of a button-class window. Check boxes, radio buttons, owner-drawn
// and picture buttons keep the system's painting.
enum class Part { None, PushButton, GroupBox };
Part PartForStyle(uint32_t buttonStyle);

struct Scheme {
    Colour frame;
    Colour face;          // the top of a resting button; it darkens towards `faceShade`
    Colour faceShade;
    Colour hotFace;       // under the cursor
    Colour hotFaceShade;
    Colour highlight;     // the light inner line under the cursor
    Colour pressedFace;
    Colour pressedFaceShade;
    Colour disabledFace;
    Colour ring;          // inside the frame of the default button and the focused one
    Colour focusCue;      // the dotted rectangle of the keyboard focus
    Colour text;
    Colour disabledText;
    Colour groupInner;    // the line inside a group box's frame
    Colour groupText;
};

// Scheme 1 is the blue one; no other exists.
const Scheme* FindScheme(int number);

struct PushState {
    bool enabled = true;
    bool pressed = false;
    bool hot = false;
    bool focused = false;
    bool isDefault = false;
};

struct PushLook {
    Colour frame;
    Colour faceTop;
    Colour faceBottom;
    std::optional<Colour> ring;
    std::optional<Colour> highlight;
    Colour text;
    std::optional<Colour> focusCue;
    int32_t textShift = 0;  // pressed: the caption moves down and right by this much
};
PushLook PushLookFor(const Scheme& scheme, const PushState& state);

struct GroupLook {
    Colour frame;
    Colour inner;
    Colour text;
};
GroupLook GroupLookFor(const Scheme& scheme, bool enabled);

// Where a caption goes inside its rectangle, from the button's styles.
enum class Align { Start, Centre, End };
struct TextLayout {
    Align horizontal = Align::Centre;
    Align vertical = Align::Centre;
    bool wrap = false;  // BS_MULTILINE: words wrap at the width; otherwise one line
};
TextLayout LayoutForStyle(uint32_t buttonStyle, uint32_t exStyle);

// A group box's frame runs through the middle of its caption's line, where the system
// draws it, so a paint of the system's own between ours leaves nothing behind.
constexpr int32_t GroupFrameTop(int32_t fontHeight) { return fontHeight / 2 - 1; }
constexpr int32_t kGroupTextIndent = 8;

}  // namespace qb::skin

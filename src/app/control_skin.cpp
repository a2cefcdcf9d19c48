#include "app/control_skin.h"

namespace qb::skin {

namespace {

// The exact weighted value, halves rounded up, so a gradient is the same either way round.
uint8_t MixChannel(uint8_t from, uint8_t to, int32_t step, int32_t steps) {
    const int32_t weighted = from * (steps - step) + to * step;
    return static_cast<uint8_t>((2 * weighted + steps) / (2 * steps));
}

constexpr Scheme kBlue = {
    .frame = {123, 158, 189},
    .face = {255, 255, 255},
    .faceShade = {218, 231, 244},
    .hotFace = {243, 249, 255},
    .hotFaceShade = {184, 214, 245},
    .highlight = {255, 255, 255},
    .pressedFace = {164, 195, 227},
    .pressedFaceShade = {205, 224, 244},
    .disabledFace = {239, 242, 245},
    .ring = {104, 156, 214},
    .focusCue = {40, 86, 140},
    .text = {18, 40, 68},
    .disabledText = {152, 164, 178},
    .groupInner = {255, 255, 255},
    .groupText = {30, 70, 116},
};

}  // namespace

Colour Mix(Colour from, Colour to, int32_t step, int32_t steps) {
    if (steps <= 0 || step <= 0) return from;
    if (step >= steps) return to;
    return {MixChannel(from.red, to.red, step, steps), MixChannel(from.green, to.green, step, steps),
            MixChannel(from.blue, to.blue, step, steps)};
}

Part PartForStyle(uint32_t buttonStyle) {
    if (buttonStyle & (style::kIcon | style::kBitmap)) return Part::None;
    switch (buttonStyle & style::kTypeMask) {
        case style::kPushButton:
        case style::kDefPushButton:
            return Part::PushButton;
        case style::kGroupBox:
            return Part::GroupBox;
        default:
            return Part::None;
    }
}

const Scheme* FindScheme(int number) { return number == 1 ? &kBlue : nullptr; }

PushLook PushLookFor(const Scheme& scheme, const PushState& state) {
    PushLook look;
    look.frame = scheme.frame;
    look.text = scheme.text;
    if (!state.enabled) {
        look.faceTop = look.faceBottom = scheme.disabledFace;
        look.text = scheme.disabledText;
        return look;
    }
    if (state.pressed) {
        look.faceTop = scheme.pressedFace;
        look.faceBottom = scheme.pressedFaceShade;
        look.textShift = 1;
    } else if (state.hot) {
        look.faceTop = scheme.hotFace;
        look.faceBottom = scheme.hotFaceShade;
        look.highlight = scheme.highlight;
    } else {
        look.faceTop = scheme.face;
        look.faceBottom = scheme.faceShade;
    }
    if (state.focused || state.isDefault) look.ring = scheme.ring;
    if (state.focused) look.focusCue = scheme.focusCue;
    return look;
}

GroupLook GroupLookFor(const Scheme& scheme, bool enabled) {
    return {scheme.frame, scheme.groupInner, enabled ? scheme.groupText : scheme.disabledText};
}

TextLayout LayoutForStyle(uint32_t buttonStyle, uint32_t exStyle) {
    const bool group = (buttonStyle & style::kTypeMask) == style::kGroupBox;
    TextLayout layout;
    layout.wrap = (buttonStyle & style::kMultiLine) != 0;
    switch (buttonStyle & style::kCentre) {
        case style::kLeft:
            layout.horizontal = Align::Start;
            break;
        case style::kRight:
            layout.horizontal = Align::End;
            break;
        case style::kCentre:
            layout.horizontal = Align::Centre;
            break;
        default:
            // Neither: a push button centres its caption, a group box starts it at the left.
            layout.horizontal = group ? Align::Start : Align::Centre;
            break;
    }
    if (exStyle & style::kExRight) layout.horizontal = Align::End;
    if (group) {
        layout.vertical = Align::Start;  // a group box's caption sits on its frame
    } else {
        switch (buttonStyle & style::kVCentre) {
            case style::kTop:
                layout.vertical = Align::Start;
                break;
            case style::kBottom:
                layout.vertical = Align::End;
                break;
            default:
                layout.vertical = Align::Centre;
                break;
        }
    }
    return layout;
}

}  // namespace qb::skin

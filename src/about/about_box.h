#pragma once

#include <cstdint>
#include <string_view>

#include "base/text.h"

namespace qb {

constexpr std::string_view kAboutBoxCaption = "关于作者";
constexpr std::string_view kAuthorHandle = "Dastrow";
constexpr std::string_view kAuthorAccount = "380114527";
constexpr int32_t kAboutTickPeriod = 1000;
constexpr int32_t kAboutCountdownReset = 6;

// "Dastrow\r\n\r\n QQ：" and the account number.
Text AboutOpeningText();
// "Dastrow", three spaces, the count in parentheses, then the same second part.
Text AboutTickText(int32_t countdown);

// The box is an ordinary message box, found by its title and driven from outside.
using AboutBox = uintptr_t;  // 0 when there is none

class AboutBoxHost {
public:
    virtual ~AboutBoxHost() = default;
    // 时钟1关于: 0 stops it; the period it already has changes nothing.
    virtual void SetTimerPeriod(int32_t period) = 0;
    // Modal: returns when the box has closed. The timer ticks inside.
    virtual void ShowBox(const Text& text, const Text& caption) = 0;
    virtual AboutBox FindBox(const Text& caption) = 0;
    virtual void SetBoxText(AboutBox box, const Text& text) = 0;
    // Closes the box as its OK button would.
    virtual void PressEnter(AboutBox box) = 0;
};

// The menu item 关于(&Y).
void ShowAboutBox(AboutBoxHost& host);

// Each tick of 时钟1关于; the countdown is the program's AboutCountdown.
void AboutTimerTick(AboutBoxHost& host, int32_t& countdown);

}  // namespace qb

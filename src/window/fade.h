#pragma once

#include <array>
#include <cstdint>

namespace qb {

constexpr int kFadeSteps = 85;
constexpr uint32_t kFadePauseMs = 2;

// 254, 251, ..., 5, 2: the window's alpha at each step.
std::array<uint8_t, kFadeSteps> FadeAlphas();

// What the fade needs from the system.
class FadeHost {
public:
    virtual ~FadeHost() = default;
    virtual void* MainWindow() = 0;  // looked up anew at each step
    virtual void MakeLayered(void* window) = 0;
    virtual void SetAlpha(void* window, uint8_t alpha) = 0;
    virtual void Show(void* window) = 0;
    virtual uint32_t TickCount() = 0;
    virtual void PumpPendingMessages() = 0;
};

// Pump twice; stop once more than 2 ms have passed (unsigned, so a wrap-around still
// ends it); pump twice more; and again.
void FadePause(FadeHost& host);

void FadeOutWith(FadeHost& host);

// The main window's close handling: the 85 steps, no verdict.
void FadeOutOnClose();

}  // namespace qb

#pragma once

#include "about/about_box.h"

namespace qb {

// The real message box. 时钟1关于 belongs to the main window, so its period setter
// comes from the caller.
class Win32AboutBox final : public AboutBoxHost {
public:
    using PeriodSetter = void (*)(int period);
    explicit Win32AboutBox(PeriodSetter setTimerPeriod) : setTimerPeriod_(setTimerPeriod) {}

    void SetTimerPeriod(int32_t period) override;
    void ShowBox(const Text& text, const Text& caption) override;
    AboutBox FindBox(const Text& caption) override;
    void SetBoxText(AboutBox box, const Text& text) override;
    void PressEnter(AboutBox box) override;

private:
    PeriodSetter setTimerPeriod_;
};

}  // namespace qb

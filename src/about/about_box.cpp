#include "about/about_box.h"

#include <string>

namespace qb {

namespace {

Text SecondPart() { return Text("\r\n\r\n QQ：") + Text(kAuthorAccount); }

}  // namespace

Text AboutOpeningText() { return Text(kAuthorHandle) + SecondPart(); }

Text AboutTickText(int32_t countdown) {
    return Text(kAuthorHandle) + "   (" + std::to_string(countdown) + ")" + SecondPart();
}

void ShowAboutBox(AboutBoxHost& host) {
    // A timer already running keeps its rhythm, so a box reopened at once counts on.
    host.SetTimerPeriod(kAboutTickPeriod);
    host.ShowBox(AboutOpeningText(), Text(kAboutBoxCaption));
}

void AboutTimerTick(AboutBoxHost& host, int32_t& countdown) {
    const AboutBox box = host.FindBox(Text(kAboutBoxCaption));
    if (!box) {
        // Closed early: the count stays where it was, for the next box to go on from.
        host.SetTimerPeriod(0);
        return;
    }
    --countdown;
    host.SetBoxText(box, AboutTickText(countdown));
    if (countdown != 0) return;
    host.PressEnter(box);
    host.SetTimerPeriod(0);
    countdown = kAboutCountdownReset;
}

}  // namespace qb

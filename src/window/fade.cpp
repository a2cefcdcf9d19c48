#include "window/fade.h"

namespace qb {

std::array<uint8_t, kFadeSteps> FadeAlphas() {
    std::array<uint8_t, kFadeSteps> alphas{};
    int step = 0;
    for (int v = 1; v <= 255; v += 3) alphas[step++] = static_cast<uint8_t>(255 - v);
    return alphas;
}

void FadePause(FadeHost& host) {
    const uint32_t start = host.TickCount();
    for (;;) {
        host.PumpPendingMessages();
        host.PumpPendingMessages();
        if (host.TickCount() - start > kFadePauseMs) break;
        host.PumpPendingMessages();
        host.PumpPendingMessages();
    }
}

void FadeOutWith(FadeHost& host) {
    for (uint8_t alpha : FadeAlphas()) {
        void* window = host.MainWindow();
        host.MakeLayered(window);
        host.SetAlpha(window, alpha);
        host.Show(window);
        FadePause(host);
    }
}

}  // namespace qb

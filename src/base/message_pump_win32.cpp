#include "base/message_loop_win32.h"
#include "base/message_pump.h"

namespace qb {

namespace {

PreTranslator g_preTranslator = nullptr;

class ThreadQueue final : public MessageQueue {
public:
    bool PeekHead(bool& isQuit) override {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) return false;
        isQuit = msg.message == WM_QUIT;
        return true;
    }
    void DispatchHead() override {
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) > 0) HandleRetrievedMessage(msg);
    }
};

}  // namespace

void SetMessagePreTranslator(PreTranslator preTranslator) { g_preTranslator = preTranslator; }

void HandleRetrievedMessage(MSG& msg) {
    if (g_preTranslator && g_preTranslator(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

int RunMessageLoop() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) HandleRetrievedMessage(msg);
    return static_cast<int>(msg.wParam);
}

void PumpPendingMessages() {
    ThreadQueue queue;
    PumpPendingMessagesFrom(queue);
}

}  // namespace qb

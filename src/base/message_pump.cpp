#include "base/message_pump.h"

namespace qb {

void PumpPendingMessagesFrom(MessageQueue& queue) {
    bool isQuit = false;
    while (queue.PeekHead(isQuit) && !isQuit) queue.DispatchHead();
}

}  // namespace qb

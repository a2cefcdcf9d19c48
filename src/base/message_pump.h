#pragma once

namespace qb {

// The thread's message queue as the pump sees it.
class MessageQueue {
public:
    virtual ~MessageQueue() = default;
    // Looks at the head of the queue without removing it: false when the queue is empty.
    virtual bool PeekHead(bool& isQuit) = 0;
    // Removes the head and handles it as one pass of the main loop does.
    virtual void DispatchHead() = 0;
};

// Dispatches every waiting message until the queue is empty or a WM_QUIT is next; the
// WM_QUIT stays queued for the main loop.
void PumpPendingMessagesFrom(MessageQueue& queue);

// This thread's queue.
void PumpPendingMessages();

}  // namespace qb

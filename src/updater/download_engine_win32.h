#pragma once

#include <windows.h>

#include <atomic>

#include "updater/updater_ports.h"

namespace qb {

// Where the engine's worker thread delivers its events; the answer goes back to the engine.
class TransferEventSink {
public:
    virtual ~TransferEventSink() = default;
    virtual int Deliver(int code, TaskHandle handle) = 0;
};

// One download over WinINet on a worker thread of its own.
class WinInetDownloadEngine final : public DownloadEngine {
public:
    explicit WinInetDownloadEngine(TransferEventSink& sink) : sink_(sink) {}
    ~WinInetDownloadEngine() override;
    WinInetDownloadEngine(const WinInetDownloadEngine&) = delete;
    WinInetDownloadEngine& operator=(const WinInetDownloadEngine&) = delete;

    TaskHandle Start(const DownloadTask& task) override;
    std::optional<uint64_t> TotalSize() override;
    uint64_t Received() override;
    uint64_t TakeReceivedSinceLastQuery() override;
    void Stop() override;

    // Waits at most this long for the worker to end, handling the messages it sends this
    // thread meanwhile, so that a worker blocked on a hand-over cannot hang us.
    void WaitForWorker(DWORD timeoutMs);

private:
    static DWORD WINAPI WorkerMain(void* self);
    void Run();
    bool Transfer();
    void Report(int code);

    TransferEventSink& sink_;
    DownloadTask task_;
    TaskHandle handle_ = 0;
    HANDLE worker_ = nullptr;
    std::atomic<bool> stopped_{false};
    std::atomic<bool> totalKnown_{false};
    std::atomic<uint64_t> total_{0};
    std::atomic<uint64_t> received_{0};
    std::atomic<uint64_t> queried_{0};
};

}  // namespace qb

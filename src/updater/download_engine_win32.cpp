#include "updater/download_engine_win32.h"
#include "updater/received_digest_win32.h"

#include <wininet.h>

#include <memory>
#include <vector>

#include "updater/http_address.h"

namespace qb {

namespace {

constexpr DWORD kConnectTimeoutMs = 15000;
// A server that sends nothing for this long has stalled; the transfer fails.
constexpr DWORD kReceiveTimeoutMs = 20000;
constexpr DWORD kSendTimeoutMs = 15000;
constexpr DWORD kProgressPeriodMs = 1000;
// A read returns only once its whole size has arrived. 256 KiB kept up best with loopback
// under Wine (smaller reads cost more calls, larger ones were slower); a slow server gets
// smaller reads, so that progress is still reported about once a second.
constexpr DWORD kLargestRead = 256 * 1024;
constexpr DWORD kSmallestRead = 4 * 1024;
constexpr DWORD kSlowReadMs = 250;
constexpr DWORD kQuickReadMs = 50;
constexpr TaskHandle kFirstTaskHandle = 0x51420001;

struct InternetHandleCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileHandle = std::unique_ptr<void, FileCloser>;

// Set on every handle: this Wine ignores the session's values for a request.
void SetTimeouts(HINTERNET handle) {
    DWORD connect = kConnectTimeoutMs, receive = kReceiveTimeoutMs, send = kSendTimeoutMs;
    (void)InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof(connect));
    (void)InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof(receive));
    (void)InternetSetOptionA(handle, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &receive, sizeof(receive));
    (void)InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &send, sizeof(send));
}

bool WriteAll(HANDLE file, const char* data, DWORD size) {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, size, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace

WinInetDownloadEngine::~WinInetDownloadEngine() {
    if (worker_) CloseHandle(worker_);
}

TaskHandle WinInetDownloadEngine::Start(const DownloadTask& task) {
    if (worker_) return 0;  // one task per engine
    task_ = task;
    handle_ = kFirstTaskHandle;
    worker_ = CreateThread(nullptr, 0, WorkerMain, this, 0, nullptr);
    return worker_ ? handle_ : 0;
}

std::optional<uint64_t> WinInetDownloadEngine::TotalSize() {
    if (!totalKnown_.load()) return std::nullopt;
    return total_.load();
}

uint64_t WinInetDownloadEngine::Received() { return received_.load(); }

uint64_t WinInetDownloadEngine::TakeReceivedSinceLastQuery() {
    const uint64_t now = received_.load();
    return now - queried_.exchange(now);
}

void WinInetDownloadEngine::Stop() { stopped_.store(true); }

void WinInetDownloadEngine::WaitForWorker(DWORD timeoutMs) {
    if (!worker_) return;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return;
        const DWORD result = MsgWaitForMultipleObjects(1, &worker_, FALSE, timeoutMs - elapsed, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        (void)PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // runs what was sent
    }
}

DWORD WINAPI WinInetDownloadEngine::WorkerMain(void* self) {
    static_cast<WinInetDownloadEngine*>(self)->Run();
    return 0;
}

void WinInetDownloadEngine::Run() {
    const bool complete = Transfer();
    if (stopped_.load()) return;
    Report(complete ? transfer::kEnded : transfer::kThreadEndedAbnormally);
}

void WinInetDownloadEngine::Report(int code) {
    if (stopped_.load()) return;
    (void)sink_.Deliver(code, handle_);  // the updater always answers 1
}

bool WinInetDownloadEngine::Transfer() {
    const std::optional<HttpAddress> address = ParseHttpAddress(task_.address);
    if (!address) return false;

    InternetHandle session(InternetOpenA("Quimbrel update", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return false;
    SetTimeouts(session.get());
    InternetHandle connection(InternetConnectA(session.get(), address->host.c_str(), address->port, nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return false;
    SetTimeouts(connection.get());
    const char* acceptTypes[] = {"*/*", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_KEEP_CONNECTION;
    if (address->secure) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(HttpOpenRequestA(connection.get(), "GET", address->target.c_str(), nullptr, nullptr,
                                            acceptTypes, flags, 0));
    if (!request) return false;
    SetTimeouts(request.get());
    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return false;

    // A 404 arrives like any other body; only a 200 is the archive.
    DWORD status = 0, statusSize = sizeof(status);
    if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &statusSize,
                        nullptr) ||
        status != HTTP_STATUS_OK) {
        return false;
    }
    // As text, since the number form stops at 32 bits.
    char lengthText[32] = {};
    DWORD lengthSize = sizeof(lengthText) - 1;
    std::optional<uint64_t> total;
    if (HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH, lengthText, &lengthSize, nullptr)) {
        total = ParseContentLength(std::string_view(lengthText, lengthSize));
        if (!total) return false;  // a length we cannot read is no length we can check
    }

    FileHandle file(CreateFileA(task_.destination.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        (void)file.release();
        return false;
    }
    if (total) {
        total_.store(*total);
        totalKnown_.store(true);
    }
    Report(transfer::kStarted);

    ForgetReceivedDigest(task_.destination);
    std::optional<Sha256Stream> digest;
    if (ReceivedDigestWanted()) digest.emplace();
    std::vector<char> buffer(kLargestRead);
    DWORD readSize = kLargestRead;
    DWORD lastReport = GetTickCount();
    for (;;) {
        if (stopped_.load()) return false;
        const DWORD readStart = GetTickCount();
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer.data(), readSize, &read)) return false;
        if (read == 0) break;
        const DWORD readMs = GetTickCount() - readStart;
        if (readMs > kSlowReadMs && readSize > kSmallestRead) readSize /= 2;
        if (readMs < kQuickReadMs && readSize < kLargestRead) readSize *= 2;
        if (!WriteAll(file.get(), buffer.data(), read)) return false;
        if (digest) (void)digest->Add(buffer.data(), read);  // without a digest the check hashes the file
        const uint64_t received = received_.fetch_add(read) + read;
        if (total && received > *total) return false;
        if (GetTickCount() - lastReport >= kProgressPeriodMs) {
            lastReport = GetTickCount();
            Report(transfer::kDataReceived);
        }
    }
    if (!CloseHandle(file.release())) return false;
    // A body cut short ends like a complete one here: only the count tells them apart.
    if (total && received_.load() != *total) return false;
    if (digest) {
        if (const std::optional<Sha256Digest> whole = digest->Finish()) RememberReceivedDigest(task_.destination, *whole);
    }
    return true;
}

}  // namespace qb

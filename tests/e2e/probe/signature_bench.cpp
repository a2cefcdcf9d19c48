// Times update.exe's signature check of one file, with the key this build embeds.
//
//   signature_bench FILE SIGNATURE-HEX RUNS
//   signature_bench --download URL FILE SIGNATURE-HEX RUNS
//
// Prints "verify_ms=<median> result=<valid|invalid|unreadable>"; with --download the file
// is first fetched by update.exe's own engine, which hashes it as it arrives, and
// "download_ms=<median>" comes first.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "updater/download_engine_win32.h"
#include "updater/received_digest_win32.h"
#include "updater/release_key.h"
#include "updater/signature_win32.h"

namespace {

class EndSink final : public qb::TransferEventSink {
public:
    HANDLE ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool complete = false;
    int Deliver(int code, qb::TaskHandle) override {
        if (code == 4 || code == 9) {
            complete = code == 4;
            SetEvent(ended);
        }
        return 1;
    }
};

double Ms(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const char* url = nullptr;
    if (argc > 1 && std::string(argv[1]) == "--download") {
        if (argc < 6) return 2;
        url = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc < 4) return 2;
    qb::ReleaseSignature signature{};
    const std::string hex = argv[2];
    if (hex.size() != signature.size() * 2) return 2;
    for (size_t i = 0; i < signature.size(); ++i) {
        signature[i] = static_cast<uint8_t>(std::strtoul(hex.substr(i * 2, 2).c_str(), nullptr, 16));
    }
    const int runs = std::atoi(argv[3]);
    qb::CngSignatureVerifier verifier(qb::ReleasePublicKeyBlob());
    qb::SetReceivedDigestWanted(verifier.Keyed());
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    std::vector<double> downloads;
    qb::VerifyResult result = qb::VerifyResult::Invalid;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        if (url) {
            EndSink sink;
            qb::WinInetDownloadEngine engine(sink);
            QueryPerformanceCounter(&start);
            if (!engine.Start({url, argv[1], "bench"})) return 1;
            WaitForSingleObject(sink.ended, INFINITE);
            QueryPerformanceCounter(&end);
            engine.WaitForWorker(10000);
            if (!sink.complete) return 1;
            downloads.push_back(Ms(start, end));
        }
        QueryPerformanceCounter(&start);
        result = verifier.Verify(argv[1], signature);
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    if (url) {
        std::sort(downloads.begin(), downloads.end());
        std::printf("download_ms=%.1f ", downloads[downloads.size() / 2]);
    }
    const char* names[] = {"valid", "invalid", "unreadable"};
    std::printf("verify_ms=%.1f result=%s\n", times[times.size() / 2], names[static_cast<int>(result)]);
    return result == qb::VerifyResult::Valid ? 0 : 1;
}

// Times update.exe's signature check of one file, with the key this build embeds.
//
//   signature_bench FILE SIGNATURE-HEX RUNS
//
// Prints "verify_ms=<median> result=<valid|invalid|unreadable>".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "updater/release_key.h"
#include "updater/signature_win32.h"

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    qb::ReleaseSignature signature{};
    const std::string hex = argv[2];
    if (hex.size() != signature.size() * 2) return 2;
    for (size_t i = 0; i < signature.size(); ++i) {
        signature[i] = static_cast<uint8_t>(std::strtoul(hex.substr(i * 2, 2).c_str(), nullptr, 16));
    }
    const int runs = std::atoi(argv[3]);
    qb::CngSignatureVerifier verifier(qb::ReleasePublicKeyBlob());
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    qb::VerifyResult result = qb::VerifyResult::Invalid;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        result = verifier.Verify(argv[1], signature);
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    const char* names[] = {"valid", "invalid", "unreadable"};
    std::printf("verify_ms=%.1f result=%s\n", times[times.size() / 2], names[static_cast<int>(result)]);
    return result == qb::VerifyResult::Valid ? 0 : 1;
}

// The update check's own work against a local server, without its fixed waits: the
// fetch, the decode, the load and the reads, timed in-process under Wine.
//   check_bench URL RUNS   prints the median milliseconds of one check
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "upgrade/code_page_win32.h"
#include "upgrade/http_get.h"
#include "upgrade/manifest_document.h"
#include "upgrade/version_compare.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const int runs = std::atoi(argv[2]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    qb::Win32CodePageConverter converter;
    std::vector<double> ms;
    bool newer = false;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        qb::ManifestDocument document;
        const std::string data = qb::HttpGetFile(argv[1]);
        (void)qb::LoadFromBytes(document, qb::DecodeManifestBytes(data, converter));
        newer = qb::IsNewerVersion(qb::GetAttribute(document, qb::kReleaseElementPath, qb::kVersionAttribute), 3.2);
        for (auto name : {qb::kDownloadAddressAttribute, qb::kFileTitleAttribute, qb::kFileNameAttribute,
                          qb::kNotesAttribute}) {
            (void)qb::GetAttribute(document, qb::kReleaseElementPath, name);
        }
        qb::UnloadManifestDocument(document);
        QueryPerformanceCounter(&t1);
        if (data.empty()) return 1;
        ms.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(frequency.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("check_ms=%.2f newer=%d\n", ms[ms.size() / 2], newer ? 1 : 0);
    return 0;
}

// Start-up benchmark driver: starts a GUI program N times and measures, for each run,
// the time from CreateProcess to its first visible top-level window and the process's
// peak working set once it is up; prints the medians. Each run ends with WM_CLOSE.
//
//   bench_start PROGRAM RUNS
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const int runs = std::atoi(argv[2]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> startMs;
    std::vector<SIZE_T> peaks;
    for (int run = 0; run < runs; ++run) {
        std::string commandLine = std::string("\"") + argv[1] + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            std::fprintf(stderr, "cannot start %s\n", argv[1]);
            return 1;
        }
        Search search{process.dwProcessId, nullptr};
        while (!search.found) {
            EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
            if (!search.found) {
                if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
            }
        }
        QueryPerformanceCounter(&t1);
        if (!search.found) {
            std::fprintf(stderr, "%s ended without a window\n", argv[1]);
            return 1;
        }
        startMs.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                          static_cast<double>(frequency.QuadPart));
        Sleep(500);  // let it settle: the peak covers start-up and the first paints
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters));
        peaks.push_back(counters.PeakWorkingSetSize);
        PostMessageA(search.found, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::printf("start_ms=%.1f peak_kib=%lu\n", Median(startMs),
                static_cast<unsigned long>(Median(peaks) / 1024));
    return 0;
}

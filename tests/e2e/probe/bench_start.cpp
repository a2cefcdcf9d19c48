// Start-up benchmark driver: starts a GUI program N times and measures, for each run,
// the time from CreateProcess to its first visible top-level window and the process's
// peak working set once it is up; prints the medians. Each run ends with WM_CLOSE.
//
//   bench_start PROGRAM RUNS
//   bench_start --idle PROGRAM SECONDS   CPU time of the program over that long, idle
//   bench_start --close PROGRAM RUNS     time from WM_CLOSE to the end of the process
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

struct Started {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

bool StartAndWait(const char* program, Started& started) {
    std::string commandLine = std::string("\"") + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started.process)) {
        return false;
    }
    Search search{started.process.dwProcessId, nullptr};
    while (!search.found) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (!search.found && WaitForSingleObject(started.process.hProcess, 1) == WAIT_OBJECT_0) return false;
    }
    started.window = search.found;
    return true;
}

double CpuMs(HANDLE process) {
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(process, &creation, &exit, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

void End(Started& started) {
    PostMessageA(started.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(started.process.hProcess, 1);
    }
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
}

int Idle(const char* program, int seconds) {
    Started started;
    if (!StartAndWait(program, started)) return 1;
    Sleep(1000);  // start-up is not idleness
    const double before = CpuMs(started.process.hProcess);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double used = CpuMs(started.process.hProcess) - before;
    End(started);
    std::printf("cpu_ms=%.1f\n", used);
    return 0;
}

int Close(const char* program, int runs) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> closeMs;
    for (int run = 0; run < runs; ++run) {
        Started started;
        if (!StartAndWait(program, started)) return 1;
        Sleep(300);
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        PostMessageA(started.window, WM_CLOSE, 0, 0);
        WaitForSingleObject(started.process.hProcess, 10000);
        QueryPerformanceCounter(&t1);
        closeMs.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                          static_cast<double>(frequency.QuadPart));
        CloseHandle(started.process.hThread);
        CloseHandle(started.process.hProcess);
    }
    std::printf("close_ms=%.1f\n", Median(closeMs));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::string(argv[1]) == "--idle") return Idle(argv[2], std::atoi(argv[3]));
    if (argc > 3 && std::string(argv[1]) == "--close") return Close(argv[2], std::atoi(argv[3]));
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

#include "base/run_program.h"

#include <windows.h>

namespace qb {

namespace {
constexpr DWORD kInputIdleWaitMs = 1000;
}

bool RunProgram(const Text& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the command line, so it gets a private copy.
    Text writable = commandLine;
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    (void)WaitForInputIdle(process.hProcess, kInputIdleWaitMs);  // a console tool never becomes idle
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace qb

// Starts a program with an exact command line through CreateProcessA, as Quimbrel does,
// instead of letting wine rebuild (and re-quote) the command line. Waits for its end and
// ends with its exit code.
//
//   launch CMDLINE-HEX [--cwd DIR-HEX] [--timeout MS]
//
// Prints "pid=N" once the program runs; exits with 259 when the wait times out, 255 when
// the program could not be started.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
std::string FromHex(const char* hex) {
    std::string out;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        out += static_cast<char>(std::strtoul(pair, nullptr, 16));
    }
    return out;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string commandLine = FromHex(argv[1]);
    std::string directory;
    DWORD timeout = INFINITE;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--cwd")) directory = FromHex(argv[i + 1]);
        if (!std::strcmp(argv[i], "--timeout")) timeout = std::strtoul(argv[i + 1], nullptr, 10);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        std::printf("error=%lu\n", static_cast<unsigned long>(GetLastError()));
        return 255;
    }
    std::printf("pid=%lu\n", static_cast<unsigned long>(process.dwProcessId));
    std::fflush(stdout);
    CloseHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, timeout) != WAIT_OBJECT_0) return 259;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// Stands in for a Windows tool in e2e tests: copied beside Quimbrel.exe under the
// tool's name, it appends its own name, exact command line and current directory
// (as hex) to
// stub_calls.log in its folder, then ends.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
std::string Hex(const char* text) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char* p = text; *p; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}
}  // namespace

int main() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    const std::string name = folder.substr(folder.find_last_of('\\') + 1);
    folder.resize(folder.find_last_of('\\'));
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    // One line per start, written in one call so two stubs never interleave.
    const std::string line = name + " " + Hex(GetCommandLineA()) + " " + Hex(directory) + "\n";
    HANDLE log = CreateFileA((folder + "\\stub_calls.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return 0;
}

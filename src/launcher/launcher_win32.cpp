#include "launcher/launcher_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "base/run_program.h"

namespace qb {

bool Win32Launcher::RunProgram(const Text& commandLine) { return qb::RunProgram(commandLine); }

void Win32Launcher::ShellOpen(const Text& file, const Text& parameters) {
    // An empty directory, not null: the shell then uses no working directory of its own.
    (void)ShellExecuteA(nullptr, "open", file.c_str(), parameters.c_str(), "", SW_SHOWNORMAL);
}

std::optional<Text> Win32Launcher::WindowsDirectory() {
    char buffer[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    // A length of MAX_PATH or more means the buffer was too small and holds nothing.
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return Text(buffer, length);
}

}  // namespace qb

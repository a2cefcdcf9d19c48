#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "base/text.h"

namespace qb {

enum class LaunchOp {
    RunProgram,                 // the text is the whole command line
    ShellOpen,                  // the text is the file, and again the parameters
    RunProgramInWindowsFolder,  // the Windows folder, then the text, as one command line
};

struct LaunchEntry {
    std::string_view control;  // a button's design name, or a menu item's caption
    LaunchOp op;
    std::string_view text;
};

extern const std::array<LaunchEntry, 20> kButtonLaunches;
extern const std::array<LaunchEntry, 6> kMenuLaunches;

// The entry of a button (by design name) or menu item (by caption); null for the
// controls whose handlers live elsewhere (按钮3, 检测升级, 关于(&Y)).
const LaunchEntry* FindLaunch(std::string_view control);

// The three system operations every launch comes down to.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual bool RunProgram(const Text& commandLine) = 0;
    virtual void ShellOpen(const Text& file, const Text& parameters) = 0;
    // GetWindowsDirectoryA's answer; nullopt when the query fails.
    virtual std::optional<Text> WindowsDirectory() = 0;
};

// The Windows folder with exactly one trailing backslash; empty when it cannot be read.
Text WindowsFolderPath(Launcher& launcher);

void Launch(const LaunchEntry& entry, Launcher& launcher);

}  // namespace qb

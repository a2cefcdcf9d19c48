#pragma once

#include <string_view>

#include "base/text.h"

namespace qb {

// The start token the updater checks before it does anything.
inline constexpr std::string_view kStartToken = "启动凭据";

// What the hand-off carries from the manifest.
struct ReleaseFields {
    Text downloadAddress;
    Text fileTitle;
    Text fileName;
    Text notes;
};

// "<run directory>\升级文件\update.exe" in quotes, the token, the four fields and the
// program to start again, joined by single spaces and nothing escaped: the updater splits
// the line at white space, so only the quoted path may hold spaces.
Text BuildHandOffCommandLine(const Text& runDirectory, const ReleaseFields& fields);

// The upgrade folder and the updater's path beside the program.
Text UpgradeFolder(const Text& runDirectory);
Text UpdaterPath(const Text& runDirectory);

}  // namespace qb

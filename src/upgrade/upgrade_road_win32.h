#pragma once

#include <windows.h>

#include "base/text.h"

namespace qb {

struct UpgradeRoadSettings {
    HWND mainWindow;
    Text runDirectory;
    Text standardCaption;
    double programVersion;
};

// The whole update check behind "检测升级".
void RunUpdateCheck(const UpgradeRoadSettings& settings);

// Writes the embedded updater into the upgrade folder beside the program, if needed.
void DeployEmbeddedUpdater(const Text& runDirectory);

// Starts the updater with the manifest's release and ends the program.
[[noreturn]] void StartUpdater(const Text& runDirectory);

// The update.exe image carried in this executable (empty when there is none).
std::string_view EmbeddedUpdaterImage();

}  // namespace qb

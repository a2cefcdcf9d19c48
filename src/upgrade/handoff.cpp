#include "upgrade/handoff.h"

namespace qb {

Text UpgradeFolder(const Text& runDirectory) { return runDirectory + "\\升级文件"; }

Text UpdaterPath(const Text& runDirectory) { return UpgradeFolder(runDirectory) + "\\update.exe"; }

Text BuildHandOffCommandLine(const Text& runDirectory, const ReleaseFields& fields) {
    // The path is quoted so that a folder with a space neither fails to start the updater
    // nor starts another program (C:\Program.exe); the updater skips a quoted path whole.
    return "\"" + UpdaterPath(runDirectory) + "\" " + Text(kStartToken) + " " + fields.downloadAddress + " " +
           fields.fileTitle + " 运行 Quimbrel.exe " + fields.fileName + " " + fields.notes;
}

}  // namespace qb

#pragma once

#include <functional>
#include <vector>

#include "base/text.h"
#include "updater/updater_ports.h"

namespace qb {

struct InstallOutcome {
    bool installed = false;
    std::vector<Text> failures;         // destination paths that could not be written
    std::vector<Text> unrestored;       // what the roll-back could not put back, for the log
};

// Installs the source tree over the destination as a whole or not at all. It walks the tree
// as the plain copy does (files, then subfolders; a subfolder whose name begins with "." is
// created empty, not copied; pending messages dispatched at every folder), but every file it
// replaces is first moved aside into the backup folder, a folder of ours on the same volume.
// When any step fails, every replaced file is moved back, every added file and folder is
// removed, and the outcome says so. On success the backup folder is deleted as far as it
// can be: an old program image still mapped by a process that is ending can be moved but
// not deleted, and waits there until the next install clears it.
InstallOutcome InstallFolderTree(FileSystem& fileSystem, const std::function<void()>& pumpMessages,
                                 const Text& source, const Text& destination, const Text& backupFolder);

}  // namespace qb

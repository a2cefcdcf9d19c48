#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "updater/updater_ports.h"

namespace qb {

// Copies every file of the source tree over the destination, replacing what is there.
// Subfolders whose names begin with "." are created empty, not copied. Pending messages are
// dispatched at every folder so the window keeps painting. Returns the destination paths
// that could not be written, for the log.
std::vector<Text> CopyFolderTree(FileSystem& fileSystem, const std::function<void()>& pumpMessages,
                                 const Text& source, const Text& destination);

// False for a path whose removal would reach far beyond one folder of ours: an empty one, a
// bare root (C:, C:\, \, \\host\share) or one that ends in . or ..
bool IsDeletableFolderPath(std::string_view path);

// The folder and everything in it; a link inside is removed, never followed. True when
// it is gone, and also when it was never there.
bool DeleteFolderTree(FileSystem& fileSystem, const Text& folder);

}  // namespace qb

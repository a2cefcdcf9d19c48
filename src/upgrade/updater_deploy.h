#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"

namespace qb {

// The file operations deployment needs.
class DeployFiles {
public:
    virtual ~DeployFiles() = default;
    // FindFirstFileA: a file and a folder both count.
    virtual bool Exists(const Text& path) = 0;
    // CreateDirectoryA on a path relative to the current directory (the run directory).
    virtual void MakeFolder(const Text& relativePath) = 0;
    // The whole file, or nullopt when it cannot be read.
    virtual std::optional<std::string> ReadWhole(const Text& path) = 0;
    // CreateFileA for writing only, no sharing, CREATE_ALWAYS; everything written and closed.
    virtual bool WriteNew(const Text& path, std::string_view bytes) = 0;
    // Replaces target by source in one step (MoveFileExA, REPLACE_EXISTING).
    virtual bool MoveOver(const Text& source, const Text& target) = 0;
    virtual void Remove(const Text& path) = 0;
};

// Puts the embedded updater at <run directory>\升级文件\update.exe unless an identical one
// is there. The image is written beside it first and moved into place, so a short write
// never leaves a broken update.exe behind. Every failure is silent: the check goes on.
void DeployUpdater(DeployFiles& files, const Text& runDirectory, std::string_view image);

}  // namespace qb

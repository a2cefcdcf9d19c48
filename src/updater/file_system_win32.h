#pragma once

#include "updater/updater_ports.h"

namespace qb {

// Files and folders through the ANSI calls, paths in code page 936.
class Win32FileSystem final : public FileSystem {
public:
    PathKind Kind(const Text& path) override;
    bool MoveFileTo(const Text& from, const Text& to) override;
    bool CreateFolder(const Text& path) override;
    bool RemoveFile(const Text& path) override;
    bool CopyFileOver(const Text& from, const Text& to) override;
    std::vector<FolderEntry> List(const Text& folder) override;
    bool RemoveFolder(const Text& path) override;
    std::unique_ptr<OutputFile> CreateOutputFile(const Text& path) override;
    std::optional<Text> FullPath(const Text& path) override;
};

// UTF-8 names of archive entries to code page 936, refusing what has no exact form there:
// a best-fit replacement could turn a harmless character into a separator.
class Win32NameDecoder final : public NameDecoder {
public:
    std::optional<Text> Utf8ToCp936(std::string_view utf8) const override;
};

}  // namespace qb

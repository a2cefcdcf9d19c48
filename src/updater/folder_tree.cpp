#include "updater/folder_tree.h"

#include "updater/file_names.h"

namespace qb {

namespace {

bool IsDotEntry(const Text& name) { return name == "." || name == ".."; }

Text WithBackslash(const Text& path) { return EndsWithBackslash(path) ? path : path + "\\"; }

Text WithoutTrailingSeparators(std::string_view path) {
    while (!path.empty() && (path.back() == '/' || EndsWithBackslash(path))) path.remove_suffix(1);
    return Text(path);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::vector<Text> CopyFolderTree(FileSystem& fileSystem, const std::function<void()>& pumpMessages,
                                 const Text& source, const Text& destination) {
    std::vector<Text> failures;
    pumpMessages();
    const Text from = WithBackslash(source);
    const Text to = WithBackslash(destination);
    const std::vector<FolderEntry> entries = fileSystem.List(from);

    bool anyFile = false;
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder) continue;
        anyFile = true;
        (void)fileSystem.CreateFolder(to);  // usually there already; the copy tells
        if (!fileSystem.CopyFileOver(from + entry.name, to + entry.name)) failures.push_back(to + entry.name);
    }
    if (!anyFile) (void)fileSystem.CreateFolder(to);  // a tree of folders only still arrives

    for (const FolderEntry& entry : entries) {
        if (!entry.isFolder || entry.isLink || entry.name.empty() || entry.name[0] == '.') continue;
        std::vector<Text> nested = CopyFolderTree(fileSystem, pumpMessages, from + entry.name, to + entry.name);
        failures.insert(failures.end(), nested.begin(), nested.end());
    }
    for (const FolderEntry& entry : entries) {
        if (!entry.isFolder || IsDotEntry(entry.name)) continue;
        if (!fileSystem.CreateFolder(to + entry.name)) failures.push_back(to + entry.name);
    }
    return failures;
}

bool IsDeletableFolderPath(std::string_view path) {
    const Text trimmed = WithoutTrailingSeparators(path);
    if (trimmed.empty()) return false;  // "", "\" or "/"
    if (trimmed.size() == 2 && trimmed[1] == ':') return false;
    std::vector<std::string_view> components;
    size_t start = 0;
    size_t lastStart = 0;
    for (size_t i = 0; i <= trimmed.size(); ++i) {
        if (i == trimmed.size() || IsSeparator(trimmed[i])) {
            components.push_back(std::string_view(trimmed).substr(start, i - start));
            start = i + 1;
            if (i < trimmed.size()) lastStart = start;
        } else if (IsCp936LeadByte(static_cast<unsigned char>(trimmed[i])) && i + 1 < trimmed.size()) {
            ++i;
        }
    }
    if (trimmed.size() >= 2 && IsSeparator(trimmed[0]) && IsSeparator(trimmed[1])) {
        // \\?\ and \\.\ are never ours; \\host\share is a root, a folder below it is not.
        if (components.size() > 2 && (components[2] == "?" || components[2] == ".")) return false;
        if (components.size() < 5) return false;  // "", "", host, share, folder
    }
    const std::string_view last = std::string_view(trimmed).substr(lastStart);
    return last != "." && last != ".." && !(last.size() == 2 && last[1] == ':');
}

bool DeleteFolderTree(FileSystem& fileSystem, const Text& folder) {
    if (!IsDeletableFolderPath(folder)) return false;
    const Text path = WithoutTrailingSeparators(folder);
    const std::vector<FolderEntry> entries = fileSystem.List(path + "\\");
    bool clean = true;
    for (const FolderEntry& entry : entries) {
        if (IsDotEntry(entry.name)) continue;
        const Text child = path + "\\" + entry.name;
        if (entry.isLink) {
            clean = (entry.isFolder ? fileSystem.RemoveFolder(child) : fileSystem.RemoveFile(child)) && clean;
        } else if (entry.isFolder) {
            clean = DeleteFolderTree(fileSystem, child) && clean;
        } else {
            clean = fileSystem.RemoveFile(child) && clean;
        }
    }
    const bool listed = !entries.empty();  // a folder lists at least "." and ".."
    if (!listed) return true;
    return fileSystem.RemoveFolder(path) && clean;
}

}  // namespace qb

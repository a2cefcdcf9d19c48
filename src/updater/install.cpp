#include "updater/install.h"

#include <string>

#include "updater/file_names.h"
#include "updater/folder_tree.h"

namespace qb {

namespace {

Text WithBackslash(const Text& path) { return EndsWithBackslash(path) ? path : path + "\\"; }

bool IsDotEntry(const Text& name) { return name == "." || name == ".."; }

// What the install changed, in order, so that it can be taken back in the reverse order.
struct Step {
    enum class Kind { AddedFolder, AddedFile, ReplacedFile } kind;
    Text path;
    Text backup;  // where the old file waits, for ReplacedFile
};

class Installer {
public:
    Installer(FileSystem& fileSystem, const std::function<void()>& pumpMessages, Text backupFolder)
        : fs_(fileSystem), pump_(pumpMessages), backupFolder_(WithBackslash(backupFolder)) {}

    bool Tree(const Text& source, const Text& destination) {
        pump_();
        const Text from = WithBackslash(source);
        const Text to = WithBackslash(destination);
        const std::vector<FolderEntry> entries = fs_.List(from);

        bool anyFile = false;
        for (const FolderEntry& entry : entries) {
            if (entry.isFolder) continue;
            anyFile = true;
            if (!Folder(to) || !File(from + entry.name, to + entry.name)) return false;
        }
        if (!anyFile && !Folder(to)) return false;

        for (const FolderEntry& entry : entries) {
            if (!entry.isFolder || entry.isLink || entry.name.empty() || entry.name[0] == '.') continue;
            if (!Tree(from + entry.name, to + entry.name)) return false;
        }
        for (const FolderEntry& entry : entries) {
            if (!entry.isFolder || IsDotEntry(entry.name)) continue;
            if (!Folder(to + entry.name)) return false;
        }
        return true;
    }

    // Takes every step back, newest first; what cannot be put back is named.
    std::vector<Text> RollBack() {
        std::vector<Text> unrestored;
        for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
            switch (step->kind) {
                case Step::Kind::AddedFolder:
                    if (!fs_.RemoveFolder(step->path)) unrestored.push_back(step->path);
                    break;
                case Step::Kind::AddedFile:
                    // A copy that failed may have left nothing to remove.
                    if (fs_.Kind(step->path) != PathKind::Missing && !fs_.RemoveFile(step->path)) {
                        unrestored.push_back(step->path);
                    }
                    break;
                case Step::Kind::ReplacedFile:
                    // The new copy may be whole, partial or absent.
                    if (fs_.Kind(step->path) == PathKind::File) (void)fs_.RemoveFile(step->path);
                    if (!fs_.MoveFileTo(step->backup, step->path)) unrestored.push_back(step->path);
                    break;
            }
        }
        steps_.clear();
        return unrestored;
    }

    std::vector<Text> failures;

private:
    bool Folder(const Text& path) {
        const Text bare = path.size() > 1 && EndsWithBackslash(path) ? path.substr(0, path.size() - 1) : path;
        switch (fs_.Kind(bare)) {
            case PathKind::Folder: return true;
            case PathKind::File: return Fail(bare);
            case PathKind::Missing: break;
        }
        if (!fs_.CreateFolder(bare)) return Fail(bare);
        steps_.push_back({Step::Kind::AddedFolder, bare, {}});
        return true;
    }

    bool File(const Text& from, const Text& to) {
        switch (fs_.Kind(to)) {
            case PathKind::Folder: return Fail(to);
            case PathKind::Missing:
                steps_.push_back({Step::Kind::AddedFile, to, {}});
                // A partial copy is removed by the roll-back like a whole one.
                return fs_.CopyFileOver(from, to) || Fail(to);
            case PathKind::File: break;
        }
        // A file another program holds without sharing cannot be moved: nothing is lost yet.
        const Text backup = backupFolder_ + std::to_string(++backups_);
        if (!fs_.MoveFileTo(to, backup)) return Fail(to);
        steps_.push_back({Step::Kind::ReplacedFile, to, backup});
        return fs_.CopyFileOver(from, to) || Fail(to);
    }

    bool Fail(const Text& path) {
        failures.push_back(path);
        return false;
    }

    FileSystem& fs_;
    const std::function<void()>& pump_;
    Text backupFolder_;
    std::vector<Step> steps_;
    unsigned backups_ = 0;
};

}  // namespace

InstallOutcome InstallFolderTree(FileSystem& fileSystem, const std::function<void()>& pumpMessages,
                                 const Text& source, const Text& destination, const Text& backupFolder) {
    InstallOutcome outcome;
    // Leftovers of an interrupted run are not ours to keep: this run numbers its own.
    (void)DeleteFolderTree(fileSystem, backupFolder);
    if (!fileSystem.CreateFolder(backupFolder)) {
        outcome.failures.push_back(backupFolder);
        return outcome;
    }
    Installer installer(fileSystem, pumpMessages, backupFolder);
    outcome.installed = installer.Tree(source, destination);
    outcome.failures = std::move(installer.failures);
    if (!outcome.installed) outcome.unrestored = installer.RollBack();
    // The old files are only let go once nothing needs them.
    if (outcome.unrestored.empty()) (void)DeleteFolderTree(fileSystem, backupFolder);
    return outcome;
}

}  // namespace qb

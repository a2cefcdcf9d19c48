#include "upgrade/updater_deploy.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "bytes.h"

namespace qb {
namespace {

// Paths under C:\Q; the folder 升级文件 may be a folder or a plain file.
struct FakeFiles final : DeployFiles {
    std::set<Text> folders;
    std::map<Text, std::string> files;
    std::vector<std::string> log;
    bool failWrites = false;

    bool Exists(const Text& path) override { return folders.count(path) || files.count(path); }
    void MakeFolder(const Text& relativePath) override {
        log.push_back("mkdir " + relativePath);
        if (!files.count("C:\\Q\\" + relativePath)) folders.insert("C:\\Q\\" + relativePath);
    }
    std::optional<std::string> ReadWhole(const Text& path) override {
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    bool WriteNew(const Text& path, std::string_view bytes) override {
        log.push_back("write " + path);
        const Text parent = path.substr(0, path.rfind('\\'));
        if (failWrites || !folders.count(parent)) return false;
        files[path] = std::string(bytes);
        return true;
    }
    bool MoveOver(const Text& source, const Text& target) override {
        log.push_back("move " + source + " " + target);
        files[target] = files[source];
        files.erase(source);
        return true;
    }
    void Remove(const Text& path) override {
        log.push_back("remove " + path);
        files.erase(path);
    }
};

const std::string kFolder = "C:\\Q\\" + Bytes("c9fdbcb6cec4bcfe");
const std::string kUpdater = kFolder + "\\update.exe";
const std::string kImage = "MZ the updater";

TEST(DeployUpdater, WritesBesideAndMovesIntoPlaceOnlyWhenNeeded) {
    const struct {
        const char* what;
        bool folder;
        bool plainFileNamedFolder;
        std::optional<std::string> present;
        std::vector<std::string> log;
    } rows[] = {
        {"folder and the same updater: nothing written", true, false, kImage, {}},
        {"folder and another updater: replaced", true, false, std::string("MZ old"),
         {"write " + kUpdater + ".new", "move " + kUpdater + ".new " + kUpdater}},
        {"folder and an empty file: replaced", true, false, std::string(),
         {"write " + kUpdater + ".new", "move " + kUpdater + ".new " + kUpdater}},
        {"folder only: written", true, false, std::nullopt,
         {"write " + kUpdater + ".new", "move " + kUpdater + ".new " + kUpdater}},
        {"nothing: the folder made relative, then written", false, false, std::nullopt,
         {"mkdir " + Bytes("c9fdbcb6cec4bcfe"), "write " + kUpdater + ".new", "move " + kUpdater + ".new " + kUpdater}},
        {"a plain file named like the folder: the write fails silently", false, true, std::nullopt,
         {"write " + kUpdater + ".new", "remove " + kUpdater + ".new"}},
    };
    for (const auto& row : rows) {
        FakeFiles files;
        if (row.folder) files.folders.insert(kFolder);
        if (row.plainFileNamedFolder) files.files[kFolder] = "not a folder";
        if (row.present) files.files[kUpdater] = *row.present;
        DeployUpdater(files, "C:\\Q", kImage);
        EXPECT_EQ(files.log, row.log) << row.what;
        if (row.folder) {
            EXPECT_EQ(files.files[kUpdater], kImage) << row.what;
        }
    }
}

TEST(DeployUpdater, AFailedWriteLeavesTheOldUpdaterWhole) {
    FakeFiles files;
    files.folders.insert(kFolder);
    files.files[kUpdater] = "MZ old";
    files.failWrites = true;
    DeployUpdater(files, "C:\\Q", kImage);
    EXPECT_EQ(files.files[kUpdater], "MZ old");
    EXPECT_FALSE(files.files.count(kUpdater + ".new"));
}

}  // namespace
}  // namespace qb

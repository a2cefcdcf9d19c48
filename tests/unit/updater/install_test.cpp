#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fakes.h"
#include "updater/install.h"

namespace qb {
namespace {

using namespace test;

// An unpacked release in C:\u\e and a program in C:\p, with the backups in C:\u\b.
struct Tree {
    MemoryFileSystem fs;
    int pumps = 0;

    Tree() {
        fs.AddFolder("C:\\u");
        fs.AddFolder("C:\\u\\e");
        fs.AddFile("C:\\u\\e\\a.txt", "new a");
        fs.AddFile("C:\\u\\e\\added.txt", "added");
        fs.AddFolder("C:\\u\\e\\lib");
        fs.AddFile("C:\\u\\e\\lib\\x.dll", "new x");
        fs.AddFolder("C:\\u\\e\\lib\\new");
        fs.AddFile("C:\\u\\e\\lib\\new\\n.txt", "n");
        fs.AddFolder("C:\\u\\e\\.cfg");
        fs.AddFile("C:\\u\\e\\.cfg\\secret", "s");
        fs.AddFolder("C:\\u\\e\\z");
        fs.AddFile("C:\\u\\e\\z\\last.txt", "new last");
        fs.AddFolder("C:\\p");
        fs.AddFile("C:\\p\\a.txt", "old a");
        fs.AddFile("C:\\p\\keep.txt", "keep");
        fs.AddFolder("C:\\p\\lib");
        fs.AddFile("C:\\p\\lib\\x.dll", "old x");
        fs.AddFolder("C:\\p\\z");
        fs.AddFile("C:\\p\\z\\last.txt", "old last");
    }

    std::map<std::string, std::string> Program() const {
        std::map<std::string, std::string> program;
        for (const auto& [path, data] : fs.files) {
            if (path.rfind("C:\\p", 0) == 0) program[path] = data;
        }
        for (const std::string& folder : fs.folders) {
            if (folder.rfind("C:\\p", 0) == 0) program[folder + "\\"] = "";
        }
        return program;
    }

    InstallOutcome Install() { return InstallFolderTree(fs, [this] { ++pumps; }, "C:\\u\\e", "C:\\p\\", "C:\\u\\b"); }
};

TEST(InstallFolderTree, InstallsLikeThePlainCopyAndLetsTheOldFilesGo) {
    Tree t;
    const InstallOutcome outcome = t.Install();
    EXPECT_TRUE(outcome.installed);
    EXPECT_TRUE(outcome.failures.empty());
    const std::map<std::string, std::string> expected = {
        {"C:\\p\\", ""},
        {"C:\\p\\a.txt", "new a"},
        {"C:\\p\\added.txt", "added"},
        {"C:\\p\\keep.txt", "keep"},
        {"C:\\p\\lib\\", ""},
        {"C:\\p\\lib\\x.dll", "new x"},
        {"C:\\p\\lib\\new\\", ""},
        {"C:\\p\\lib\\new\\n.txt", "n"},
        {"C:\\p\\.cfg\\", ""},
        {"C:\\p\\z\\", ""},
        {"C:\\p\\z\\last.txt", "new last"},
    };
    EXPECT_EQ(t.Program(), expected) << "a dotted folder arrives empty";
    EXPECT_FALSE(t.fs.folders.count("C:\\u\\b")) << "the kept files are removed on success";
    EXPECT_EQ(t.pumps, 4) << "once at each folder installed: e, lib, new, z";
}

TEST(InstallFolderTree, AnyFailurePutsEveryFileAndFolderBack) {
    const struct {
        const char* row;
        void (*damage)(MemoryFileSystem&);
        std::string failure;
    } cases[] = {
        {"the last replaced file cannot be written",
         [](MemoryFileSystem& fs) { fs.unwritable.insert("C:\\p\\z\\last.txt"); }, "C:\\p\\z\\last.txt"},
        {"the last file is held without sharing", [](MemoryFileSystem& fs) { fs.held.insert("C:\\p\\z\\last.txt"); },
         "C:\\p\\z\\last.txt"},
        {"an added file cannot be written in an added folder",
         [](MemoryFileSystem& fs) { fs.unwritable.insert("C:\\p\\lib\\new\\n.txt"); }, "C:\\p\\lib\\new\\n.txt"},
        {"a folder where the release has a file",
         [](MemoryFileSystem& fs) { fs.AddFolder("C:\\p\\added.txt"); }, "C:\\p\\added.txt"},
        {"a file where the release has a folder", [](MemoryFileSystem& fs) { fs.AddFile("C:\\p\\.cfg", "f"); },
         "C:\\p\\.cfg"},
        {"a folder that cannot be made", [](MemoryFileSystem& fs) { fs.unwritable.insert("C:\\p\\lib\\new"); },
         "C:\\p\\lib\\new"},
    };
    for (const auto& c : cases) {
        Tree t;
        c.damage(t.fs);
        const auto before = t.Program();
        const InstallOutcome outcome = t.Install();
        EXPECT_FALSE(outcome.installed) << c.row;
        EXPECT_EQ(outcome.failures, std::vector<std::string>{c.failure}) << c.row;
        EXPECT_TRUE(outcome.unrestored.empty()) << c.row;
        EXPECT_EQ(t.Program(), before) << c.row;
        EXPECT_FALSE(t.fs.folders.count("C:\\u\\b")) << c.row;
    }
}

TEST(InstallFolderTree, WhatCannotBePutBackIsNamedAndItsBackupKept) {
    Tree t;
    t.fs.unwritable.insert("C:\\p\\z\\last.txt");
    t.fs.held.insert("C:\\u\\b\\1");  // the first file kept aside, held by a scanner
    const InstallOutcome outcome = t.Install();
    EXPECT_FALSE(outcome.installed);
    ASSERT_EQ(outcome.unrestored.size(), 1u);
    const std::string original = outcome.unrestored[0];
    EXPECT_TRUE(original == "C:\\p\\a.txt" || original == "C:\\p\\lib\\x.dll") << original;
    EXPECT_EQ(t.fs.files.count("C:\\u\\b\\1"), 1u) << "the old file stays where the user can find it";
    EXPECT_EQ(t.fs.files["C:\\p\\keep.txt"], "keep");
    EXPECT_FALSE(t.fs.files.count("C:\\p\\added.txt"));
}

TEST(InstallFolderTree, LeftoversOfAnEarlierRunAreClearedFirst) {
    Tree t;
    t.fs.AddFolder("C:\\u\\b");
    t.fs.AddFile("C:\\u\\b\\1", "stale");
    t.fs.unwritable.insert("C:\\p\\z\\last.txt");
    const auto before = t.Program();
    EXPECT_FALSE(t.Install().installed);
    EXPECT_EQ(t.Program(), before) << "the stale backup never took the place of a file of ours";
}

}  // namespace
}  // namespace qb

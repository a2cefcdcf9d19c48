#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "bytes.h"

namespace qb {
namespace {

TEST(GuardEventName, TheNameAsGivenOrTheFallbackWithForwardSlashes) {
    struct Row {
        const char* name;
        Text given;
        ExecutablePathParts paths;
        Text expected;
    };
    const Row rows[] = {
        {"a name is used unchanged", "Quimbrel.exe", {"C:\\Tools", "Other.exe"}, "Quimbrel.exe"},
        {"no case change, no prefix", "quimbrel.EXE", {"C:\\Tools", "Quimbrel.exe"}, "quimbrel.EXE"},
        {"empty: the fallback", "", {"C:\\Tools", "Quimbrel.exe"}, "C:/Tools/Quimbrel.exe"},
        {"empty executable name: the folder and one slash", "", {"C:\\Tools", ""}, "C:/Tools/"},
        {"nested folders", "", {"D:\\a\\b\\c", "q.exe"}, "D:/a/b/c/q.exe"},
        {"nothing at all", "", {"", ""}, "/"},
        // Replaced byte by byte: the trail byte 5C of 轡 (DE 5C) turns into 2F as well.
        {"a 0x5C trail byte is a backslash byte too",
         "",
         {Bytes("433a5c de5c"), "q.exe"},
         Bytes("433a2f de2f 2f 712e657865")},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GuardEventName(row.given, row.paths), row.expected) << row.name;
    }
}

struct Ended {
    int code;
};

struct Other {
    bool running = false;        // an instance already holds the event
    bool createsFirst = false;   // another start creates it between our open and create
    bool nameIsTaken = false;    // an object of another type holds the name
};

struct RecordingHost final : InstanceGuardHost {
    Other other;
    std::set<Text> events;
    std::vector<std::string> log;

    bool OpenGuardEvent(const Text& name) override {
        log.push_back("open " + name);
        if (other.running) events.insert(name);
        return events.count(name) != 0;
    }
    EventCreation CreateGuardEvent(const Text& name) override {
        log.push_back("create " + name);
        if (other.nameIsTaken) return EventCreation::Failed;
        if (other.createsFirst) events.insert(name);
        return events.insert(name).second ? EventCreation::Created : EventCreation::AlreadyExisted;
    }
    void ShowBox(const Text& text, const Text& caption, uint32_t style) override {
        char hexStyle[16];
        std::snprintf(hexStyle, sizeof(hexStyle), "%#x", style);
        log.push_back("box " + text + " | " + caption + " | " + hexStyle);
    }
    [[noreturn]] void EndProgram(int code) override {
        log.push_back("end " + std::to_string(code));
        throw Ended{code};
    }
};

TEST(SingleInstanceGuard, WhatEachSituationDoes) {
    const Text message = Bytes("b3ccd0f2d2d1d4cbd0d0a3acc7ebc8b7b6a8a3a1");  // 程序已运行，请确定！
    const Text box = "box " + message + " | " + Bytes("cce1cabed0c5cfa2") + " | 0x2040";  // 提示信息
    struct Row {
        const char* name;
        Other other;
        Text guardName;
        std::vector<std::string> log;
        bool returns;
    };
    const Row rows[] = {
        {"first start: creates the event and goes on", {}, "Quimbrel.exe",
         {"open Quimbrel.exe", "create Quimbrel.exe"}, true},
        {"another instance runs: the box, then the end", {.running = true}, "Quimbrel.exe",
         {"open Quimbrel.exe", box, "end 0"}, false},
        {"a start at the same moment created it first: the same", {.createsFirst = true}, "Quimbrel.exe",
         {"open Quimbrel.exe", "create Quimbrel.exe", box, "end 0"}, false},
        {"the name held by another kind of object: runs without the event", {.nameIsTaken = true}, "Quimbrel.exe",
         {"open Quimbrel.exe", "create Quimbrel.exe"}, true},
        {"an empty name opens and creates the fallback", {}, "",
         {"open C:/Tools/Quimbrel.exe", "create C:/Tools/Quimbrel.exe"}, true},
    };
    const ExecutablePathParts paths{"C:\\Tools", "Quimbrel.exe"};
    for (const Row& row : rows) {
        RecordingHost host;
        host.other = row.other;
        bool returned = false;
        try {
            SingleInstanceGuard(row.guardName, message, paths, host);
            returned = true;
        } catch (const Ended& ended) {
            EXPECT_EQ(ended.code, 0) << row.name;
        }
        EXPECT_EQ(returned, row.returns) << row.name;
        EXPECT_EQ(host.log, row.log) << row.name;
    }
}

TEST(SingleInstanceGuard, ASecondStartInTheSameNamespaceIsStoppedAndACopyUnderAnotherNameIsNot) {
    RecordingHost system;  // one namespace shared by the starts
    const Text message = "running";
    SingleInstanceGuard("Quimbrel.exe", message, {"C:\\A", "Quimbrel.exe"}, system);
    EXPECT_THROW(SingleInstanceGuard("Quimbrel.exe", message, {"D:\\Elsewhere", "Quimbrel.exe"}, system), Ended)
        << "the folder is not part of the name";
    EXPECT_NO_THROW(SingleInstanceGuard("Quimbrel2.exe", message, {"C:\\A", "Quimbrel2.exe"}, system));
    EXPECT_THROW(SingleInstanceGuard("Quimbrel2.exe", message, {"C:\\A", "Quimbrel2.exe"}, system), Ended);
    EXPECT_NO_THROW(SingleInstanceGuard("quimbrel.exe", message, {"C:\\A", "quimbrel.exe"}, system))
        << "names are compared case-sensitively";
}

}  // namespace
}  // namespace qb

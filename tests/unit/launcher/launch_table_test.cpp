#include "launcher/launch_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "bytes.h"

namespace qb {
namespace {

struct RecordingLauncher final : Launcher {
    std::vector<std::string> calls;
    std::optional<Text> windowsDirectory = Text("C:\\WINDOWS");
    int directoryQueries = 0;

    bool RunProgram(const Text& commandLine) override {
        calls.push_back("run[" + commandLine + "]");
        return false;  // as for a tool missing on this edition: nothing may depend on it
    }
    void ShellOpen(const Text& file, const Text& parameters) override {
        calls.push_back("open[" + file + "][" + parameters + "]");
    }
    std::optional<Text> WindowsDirectory() override {
        ++directoryQueries;
        return windowsDirectory;
    }
};

struct LaunchRow {
    const char* controlHex;  // design name or menu caption, code page 936
    const char* expected;    // the one call it makes
};

// Every control of the two tables, keyed by the bytes of its name, with its one call.
const LaunchRow kRows[] = {
    {"b0b4c5a531", "open[diskmgmt.msc][diskmgmt.msc]"},
    {"b0b4c5a532", "run[notepad]"},
    {"b0b4c5a534", "run[dxdiag]"},
    {"b0b4c5a535", "run[mspaint]"},
    {"b0b4c5a536", "run[osk]"},
    {"b0b4c5a537", "open[perfmon.msc][perfmon.msc]"},
    {"b0b4c5a538", "run[calc]"},
    {"b0b4c5a539", "run[regedit.exe]"},
    {"b0b4c5a53130", "run[mstsc]"},
    {"b0b4c5a53131", "run[eventvwr]"},
    {"b0b4c5a53132", "run[CMD]"},
    {"b0b4c5a53133", "run[msinfo32]"},
    {"b0b4c5a53134", "run[winver]"},
    {"b0b4c5a53135", "run[resmon]"},
    {"b0b4c5a53136", "run[dcomcnfg]"},
    {"b0b4c5a53137", "run[utilman]"},
    {"b0b4c5a53138", "open[devmgmt.msc][devmgmt.msc]"},
    {"b0b4c5a53139", "run[eudcedit]"},
    {"b0b4c5a53230", "run[cleanmgr]"},
    {"b0b4c5a53231", "run[chkdsk]"},
    {"d7a2cffa28264c29", "open[logoff][logoff]"},                       // 注销(&L)
    {"d6d8d0c2c6f4b6af28265229", "run[shutdown -r]"},                   // 重新启动(&R)
    {"b9d8bbfa28265529", "run[shutdown -s ]"},                          // 关机(&U)
    {"ced2b5c4b5e7c4d428265729",                                        // 我的电脑(&W)
     "run[explorer.exe  ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}  ]"},
    {"ced2b5c4cec4b5b528264429",                                        // 我的文档(&D)
     "run[C:\\WINDOWS\\explorer.exe ::{450D8FBA-AD25-11D0-98A8-0800361B1103}  ]"},
    {"bfd8d6c6c3e6b0e528264229", "run[control]"},                       // 控制面板(&B)
};

TEST(LaunchTable, EveryControlMakesExactlyItsOneCall) {
    size_t found = 0;
    for (const LaunchRow& row : kRows) {
        const LaunchEntry* entry = FindLaunch(Bytes(row.controlHex));
        ASSERT_NE(entry, nullptr) << "no entry for " << row.controlHex;
        ++found;
        RecordingLauncher launcher;
        Launch(*entry, launcher);
        EXPECT_EQ(launcher.calls, std::vector<std::string>{row.expected}) << row.controlHex;
    }
    // No entry beyond the rows above: the table holds nothing the rows do not check.
    EXPECT_EQ(found, kButtonLaunches.size() + kMenuLaunches.size());
}

TEST(LaunchTable, TextsWithSpacesKeepTheirExactLength) {
    const struct {
        const char* controlHex;
        size_t length;
    } rows[] = {
        {"b9d8bbfa28265529", 12},          // "shutdown -s ": trailing space
        {"d6d8d0c2c6f4b6af28265229", 11},  // "shutdown -r": none
        {"ced2b5c4b5e7c4d428265729", 56},  // My Computer: two inner, two trailing spaces
        {"ced2b5c4cec4b5b528264429", 55},  // the My Documents literal
    };
    for (const auto& row : rows) {
        const LaunchEntry* entry = FindLaunch(Bytes(row.controlHex));
        ASSERT_NE(entry, nullptr) << row.controlHex;
        EXPECT_EQ(entry->text.size(), row.length) << row.controlHex;
    }
}

TEST(LaunchTable, HandlersOfOtherSubsystemsLaunchNothing) {
    for (const char* hex : {"b0b4c5a533" /* 按钮3 */, "bcecb2e2c9fdbcb6" /* 检测升级 */,
                            "b9d8d3da28265929" /* 关于(&Y) */, "c9fdbcb6" /* 升级 */}) {
        EXPECT_EQ(FindLaunch(Bytes(hex)), nullptr) << hex;
    }
}

TEST(WindowsFolderPath, EndsInExactlyOneBackslashOrIsEmpty) {
    const struct {
        std::optional<Text> directory;
        const char* expected;
    } rows[] = {
        {Text("C:\\WINDOWS"), "C:\\WINDOWS\\"},
        {Text("C:\\WINDOWS\\"), "C:\\WINDOWS\\"},
        {Text("C:\\"), "C:\\"},
        {Text(""), ""},
        {std::nullopt, ""},
    };
    for (const auto& row : rows) {
        RecordingLauncher launcher;
        launcher.windowsDirectory = row.directory;
        EXPECT_EQ(WindowsFolderPath(launcher), row.expected) << row.directory.value_or("(failed)");
    }
}

TEST(LaunchTable, MyDocumentsQueriesTheFolderAtEachSelection) {
    const LaunchEntry* myDocuments = FindLaunch(Bytes("ced2b5c4cec4b5b528264429"));
    ASSERT_NE(myDocuments, nullptr);
    RecordingLauncher launcher;
    launcher.windowsDirectory = std::nullopt;
    Launch(*myDocuments, launcher);
    launcher.windowsDirectory = Text("D:\\Win");
    Launch(*myDocuments, launcher);
    EXPECT_EQ(launcher.directoryQueries, 2);
    ASSERT_EQ(launcher.calls.size(), 2u);
    // A failed query leaves the literal alone, for the system search to find explorer.exe.
    EXPECT_EQ(launcher.calls[0], "run[explorer.exe ::{450D8FBA-AD25-11D0-98A8-0800361B1103}  ]");
    EXPECT_EQ(launcher.calls[1], "run[D:\\Win\\explorer.exe ::{450D8FBA-AD25-11D0-98A8-0800361B1103}  ]");
}

}  // namespace
}  // namespace qb

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bytes.h"
#include "fakes.h"
#include "updater/transfer_figures.h"
#include "updater/updater.h"

namespace qb {
namespace {

using namespace test;

TEST(TransferFigures, SizeSpeedAndProgress) {
    const struct {
        std::optional<uint64_t> total;
        const char* label;
    } sizes[] = {
        {1234567, "1234.57K"}, {1500, "1.5K"},   {1000, "1K"},      {0, "0K"},         {4, "0K"},
        {5, "0.01K"},          {1005, "1.01K"},  {999995, "1000K"}, {1234, "1.23K"},   {1230, "1.23K"},
        {12345678901234ull, "12345678901.23K"}, {std::nullopt, ""},
    };
    for (const auto& c : sizes) EXPECT_EQ(FormatSizeLabel(c.total), c.label) << c.label;

    const struct {
        uint64_t delta;
        const char* label;
    } speeds[] = {{2048, "2.05KB/s"}, {0, "0.00KB/s"}, {1000, "1.00KB/s"}, {1500, "1.50KB/s"},
                  {5, "0.01KB/s"},    {4, "0.00KB/s"}, {123456789, "123456.79KB/s"}};
    for (const auto& c : speeds) EXPECT_EQ(FormatSpeedLabel(c.delta), c.label) << c.label;

    const struct {
        const char* row;
        uint64_t received;
        std::optional<uint64_t> total;
        int percent;
    } progress[] = {
        {"half", 50, 100, 50},
        {"cut, not rounded", 999, 1000, 99},
        {"past 21 MB, where a 32-bit product overflows", 30'000'000, 40'000'000, 75},
        {"past 4 GB", 3'000'000'000ull * 2, 8'000'000'000ull, 75},
        {"at the end", 100, 100, 100},
        {"more than announced is clamped", 150, 100, 100},
        {"unknown total leaves the bar at 0", 5000, std::nullopt, 0},
        {"zero total", 0, 0, 0},
        {"a total near the top of 64 bits", UINT64_MAX / 2, UINT64_MAX - 1, 50},
    };
    for (const auto& c : progress) EXPECT_EQ(ProgressPercent(c.received, c.total), c.percent) << c.row;
}

// An updater whose task 1 runs on the fake engine, the row built and the log started.
struct UpdaterUnderTest {
    RecordingView view;
    FakeEngine engine;
    MemoryFileSystem fileSystem;
    FakeArchive archive;
    TableDecoder decoder;
    FakeShell shell;
    FakeVerifier verifier;
    Updater updater{{view, engine, fileSystem, archive, decoder, shell, verifier},
                    "C:\\q\\" + Bytes("c9fdbcb6cec4bcfe"),
                    {Bytes("c6f4b6afc6bebedd"), "http://h/r.zip", "Title", Bytes("d4cbd0d0"), "Quimbrel.exe", "r.zip"}};

    UpdaterUnderTest() {
        fileSystem.AddFolder("C:\\q\\" + Bytes("c9fdbcb6cec4bcfe"));
        updater.UpdaterStart();
        view.changes.clear();
    }
};

constexpr TaskHandle kOther = 0x1234;

TEST(OnTransferEvent, Table) {
    const std::string logStart = Bytes("d6b4d0d0cfc2d4d8c8cecef131");  // 执行下载任务1
    const struct {
        const char* row;
        int code;
        bool ownHandle;
        std::optional<uint64_t> total;
        uint64_t received, delta;
        std::string log;  // appended after 执行下载任务1
        std::vector<std::string> changes;
    } cases[] = {
        {"3 with a total", 3, true, 1234567, 0, 0, Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8c9cfb4abbfaacabc0d0a"),
         {"log", "name1 = Title", "size1 = 1234.57K", "bar1 hidden", "operation1 shown",
          "operation1 = " + Bytes("cfc2d4d8bfaacabc")}},
        {"3 with 1500 bytes", 3, true, 1500, 0, 0, Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8c9cfb4abbfaacabc0d0a"),
         {"log", "name1 = Title", "size1 = 1.5K", "bar1 hidden", "operation1 shown",
          "operation1 = " + Bytes("cfc2d4d8bfaacabc")}},
        {"3 with 1000 bytes", 3, true, 1000, 0, 0, Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8c9cfb4abbfaacabc0d0a"),
         {"log", "name1 = Title", "size1 = 1K", "bar1 hidden", "operation1 shown",
          "operation1 = " + Bytes("cfc2d4d8bfaacabc")}},
        {"3 without a total leaves the size empty", 3, true, std::nullopt, 0, 0,
         Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8c9cfb4abbfaacabc0d0a"),
         {"log", "name1 = Title", "size1 = ", "bar1 hidden", "operation1 shown",
          "operation1 = " + Bytes("cfc2d4d8bfaacabc")}},
        {"3 logs before it looks for the row", 3, false, 1000, 0, 0,
         Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8c9cfb4abbfaacabc0d0a"), {"log"}},
        {"16", 16, true, 1000, 500, 2048, Bytes("2023b4abcbcdb3a3c1bf2ecad5b5bdcafdbedd0d0a"),
         {"log", "operation1 hidden", "bar1 shown", "speed1 = 2.05KB/s", "bar1 at 50"}},
        {"16 past 21 MB", 16, true, 40'000'000, 30'000'000, 0, Bytes("2023b4abcbcdb3a3c1bf2ecad5b5bdcafdbedd0d0a"),
         {"log", "operation1 hidden", "bar1 shown", "speed1 = 0.00KB/s", "bar1 at 75"}},
        {"16 with no total keeps the bar at 0", 16, true, std::nullopt, 30'000, 1000,
         Bytes("2023b4abcbcdb3a3c1bf2ecad5b5bdcafdbedd0d0a"),
         {"log", "operation1 hidden", "bar1 shown", "speed1 = 1.00KB/s", "bar1 at 0"}},
        {"16 of another task does nothing", 16, false, 1000, 500, 2048, "", {}},
        {"4 of another task does nothing", 4, false, 1000, 1000, 0, "", {}},
        {"6", 6, true, 1000, 0, 0, Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8cafdbeddb7b6cea70d0a"), {"log"}},
        {"7", 7, true, 1000, 0, 0, Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8cfdfb3ccbcccd0f8cfc2d4d80d0a"), {"log"}},
        {"8", 8, false, 1000, 0, 0, Bytes("2023b4abcbcdb3a3c1bf2ecfdfb3ccd5fdb3a3bde1caf80d0a"), {"log"}},
        {"9 of another task only logs", 9, false, 1000, 0, 0, Bytes("2023b4abcbcdb3a3c1bf2ecfdfb3ccd2ecb3a3bde1caf80d0a"),
         {"log"}},
        {"18", 18, true, 1000, 0, 0, Bytes("2023b4abcbcdb3a3c1bf2eb4e6d4dacdacc3fbcec4bcfe0d0a"), {"log"}},
        {"unknown code", 42, true, 1000, 0, 0, Bytes("ceb4d6aacffbcfa220") + "42\r\n", {"log"}},
        {"negative unknown code", -1, false, 1000, 0, 0, Bytes("ceb4d6aacffbcfa220") + "-1\r\n", {"log"}},
    };
    for (const auto& c : cases) {
        UpdaterUnderTest t;
        t.engine.total = c.total;
        t.engine.received = c.received;
        t.engine.sinceLastQuery = c.delta;
        EXPECT_EQ(t.updater.OnTransferEvent(c.code, c.ownHandle ? t.engine.handle : kOther), 1) << c.row;
        EXPECT_EQ(t.view.log, logStart + c.log) << c.row;
        EXPECT_EQ(t.view.changes, c.changes) << c.row;
        EXPECT_TRUE(t.shell.ends.empty()) << c.row;
    }
}

TEST(OnTransferEvent, SixteenTakesTheBytesSinceTheLastQuery) {
    UpdaterUnderTest t;
    t.engine.total = 10000;
    t.engine.sinceLastQuery = 2048;
    t.updater.OnTransferEvent(16, t.engine.handle);
    t.updater.OnTransferEvent(16, t.engine.handle);
    EXPECT_EQ(t.view.changes[3], "speed1 = 2.05KB/s");
    EXPECT_EQ(t.view.changes[8], "speed1 = 0.00KB/s");
}

TEST(OnTransferEvent, FourChangesTheRowThenFinishesOnce) {
    UpdaterUnderTest t;
    t.engine.total = 10;
    t.updater.OnTransferEvent(4, t.engine.handle);
    // The archive was never written: the finish runs and gives up, visibly.
    const std::vector<std::string> rowFirst = {
        "log", "bar1 hidden", "operation1 shown", "operation1 = " + Bytes("cfc2d4d8bde1caf8"), "speed1 = "};
    ASSERT_GE(t.view.changes.size(), rowFirst.size());
    EXPECT_EQ(std::vector<std::string>(t.view.changes.begin(), t.view.changes.begin() + 5), rowFirst);
    EXPECT_EQ(t.view.log.substr(13, 25), Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8c9cfb4abbde1caf80d0a"));
    EXPECT_EQ(t.archive.opened, 1);
    EXPECT_EQ(t.shell.ends, std::vector<int>{0});
    // A repeated 4 finds no task any more.
    t.updater.OnTransferEvent(4, t.engine.handle);
    EXPECT_EQ(t.archive.opened, 1);
}

TEST(UpdaterStart, WrongArgumentsShowTheBoxAndEndBeforeAnythingElse) {
    RecordingView view;
    FakeEngine engine;
    MemoryFileSystem fileSystem;
    FakeArchive archive;
    TableDecoder decoder;
    FakeShell shell;
    FakeVerifier verifier;
    Updater updater({view, engine, fileSystem, archive, decoder, shell, verifier}, "C:\\q",
                    {Bytes("c6f4b6afc6bebedd"), "http://h/r.zip", "t", "run", "Quimbrel.exe"});
    updater.UpdaterStart();
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, Bytes("b3ccd0f2b5f7d3c3b2cecafdb4edcef3a3a1"));
    EXPECT_EQ(shell.boxes[0].caption, Bytes("d0c5cfa2a3ba"));
    EXPECT_EQ(shell.boxes[0].style, 0x10u | 0x2000u);  // MB_ICONERROR | MB_TASKMODAL
    EXPECT_EQ(shell.ends, std::vector<int>{0});
    EXPECT_TRUE(view.rowsBuilt.empty());
    EXPECT_TRUE(engine.started.empty());
    EXPECT_TRUE(fileSystem.changes.empty());
}

TEST(UpdaterStart, BuildsTheRowAndStartsTaskOne) {
    const std::string updaterFolder = "C:\\q\\" + Bytes("c9fdbcb6cec4bcfe");
    UpdaterUnderTest t;
    EXPECT_EQ(t.view.rowsBuilt, std::vector<int>{1});
    EXPECT_EQ(t.view.log, Bytes("d6b4d0d0cfc2d4d8c8cecef131"));
    ASSERT_EQ(t.engine.started.size(), 1u);
    EXPECT_EQ(t.engine.started[0].address, "http://h/r.zip");
    EXPECT_EQ(t.engine.started[0].displayName, "Title");
    EXPECT_EQ(t.engine.started[0].destination,
              updaterFolder + "\\" + Bytes("c9fdbcb6cec4bcfe") + "\\temp1.zip");
    EXPECT_EQ(t.fileSystem.changes,
              std::vector<std::string>{"mkdir " + updaterFolder + "\\" + Bytes("c9fdbcb6cec4bcfe")});
    EXPECT_EQ(t.shell.pumps, 1);
    EXPECT_TRUE(t.shell.boxes.empty());
}

TEST(UpdaterStart, AnOldArchiveIsDeletedBeforeTheDownload) {
    RecordingView view;
    FakeEngine engine;
    MemoryFileSystem fileSystem;
    FakeArchive archive;
    TableDecoder decoder;
    FakeShell shell;
    FakeVerifier verifier;
    const std::string downloadFolder = "C:\\q\\" + Bytes("c9fdbcb6cec4bcfe");
    fileSystem.AddFolder("C:\\q");
    fileSystem.AddFolder(downloadFolder);
    fileSystem.AddFile(downloadFolder + "\\temp1.zip", "old");
    Updater updater({view, engine, fileSystem, archive, decoder, shell, verifier}, "C:\\q",
                    {Bytes("c6f4b6afc6bebedd"), "http://h/r.zip", "t", "run", "Quimbrel.exe", "f"});
    updater.UpdaterStart();
    EXPECT_FALSE(fileSystem.files.count(downloadFolder + "\\temp1.zip"));
    EXPECT_EQ(engine.started.size(), 1u);
}

TEST(UpdaterStart, AnEngineThatCannotStartTakesTheFailurePath) {
    RecordingView view;
    FakeEngine engine;
    engine.handle = 0;
    MemoryFileSystem fileSystem;
    FakeArchive archive;
    TableDecoder decoder;
    FakeShell shell;
    FakeVerifier verifier;
    fileSystem.AddFolder("C:\\q");
    Updater updater({view, engine, fileSystem, archive, decoder, shell, verifier}, "C:\\q",
                    {Bytes("c6f4b6afc6bebedd"), "http://h/r.zip", "t", "run", "Quimbrel.exe", "f"});
    updater.UpdaterStart();
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.started, std::vector<std::string>{"\"C:\\q\\..\\Quimbrel.exe\""});
    EXPECT_EQ(shell.ends, std::vector<int>{0});
}

TEST(CanCloseUpdater, Table) {
    const std::string ended = Bytes("2023b4abcbcdb3a3c1bf2ecfc2d4d8c9cfb4abbde1caf80d0a");
    const struct {
        const char* row;
        std::string log;  // replaces the log before the close
        bool downloading;
        std::deque<int> answers;
        bool allowed;
        int boxes;
        int stops;
    } cases[] = {
        {"the transfer ended", "x" + ended, true, {}, true, 0, 0},
        {"empty log", "", true, {}, true, 0, 0},
        {"downloading, OK keeps the window", "x", true, {win::kIdOk}, false, 1, 0},
        {"downloading, Cancel stops and closes", "x", true, {win::kIdCancel}, true, 1, 1},
        {"downloading, any other answer counts as Cancel", "x", true, {7}, true, 1, 1},
        {"the mark is case-sensitive bytes, not a near match", "x" + Bytes("cfc2d4d8c9cfb4ab"), true,
         {win::kIdOk}, false, 1, 0},
    };
    for (const auto& c : cases) {
        UpdaterUnderTest t;
        t.view.log = c.log;
        t.shell.answers = c.answers;
        EXPECT_EQ(t.updater.CanCloseUpdater(), c.allowed) << c.row;
        EXPECT_EQ(static_cast<int>(t.shell.boxes.size()), c.boxes) << c.row;
        EXPECT_EQ(t.engine.stops, c.stops) << c.row;
        if (c.boxes) {
            EXPECT_EQ(t.shell.boxes[0].text, Bytes("c7ebb5c8b4fdcfc2d4d8cdeab3c92e2e2e")) << c.row;
            EXPECT_EQ(t.shell.boxes[0].caption, Bytes("cce1cabed0c5cfa2")) << c.row;
            EXPECT_EQ(t.shell.boxes[0].style, 0x1u | 0x40u | 0x2000u) << c.row;  // OKCANCEL|ICONINFORMATION|TASKMODAL
        }
    }
}

TEST(CanCloseUpdater, AfterCancelTheEnginesLateEventsMatchNothing) {
    UpdaterUnderTest t;
    t.shell.answers = {win::kIdCancel};
    ASSERT_TRUE(t.updater.CanCloseUpdater());
    t.view.changes.clear();
    t.updater.OnTransferEvent(16, t.engine.handle);
    t.updater.OnTransferEvent(4, t.engine.handle);
    t.updater.OnTransferEvent(9, t.engine.handle);
    EXPECT_EQ(t.view.changes, std::vector<std::string>{"log"});  // only 9's log line
    EXPECT_TRUE(t.shell.ends.empty());
    EXPECT_TRUE(t.shell.started.empty());
    EXPECT_EQ(t.archive.opened, 0);
}

TEST(CanCloseUpdater, AFailedTransferNeverAsksToWait) {
    UpdaterUnderTest t;
    t.updater.OnTransferEvent(9, t.engine.handle);  // gives up: box, restart, end
    t.shell.boxes.clear();
    EXPECT_TRUE(t.updater.CanCloseUpdater());
    EXPECT_TRUE(t.shell.boxes.empty());
}

}  // namespace
}  // namespace qb

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "bytes.h"
#include "fakes.h"
#include "updater/folder_tree.h"
#include "updater/unpack.h"
#include "updater/updater.h"

namespace qb {
namespace {

using namespace test;

const std::string kUp = Bytes("c9fdbcb6cec4bcfe");  // 升级文件

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<std::string> Writes(const MemoryFileSystem& fs) {
    std::vector<std::string> writes;
    for (const std::string& change : fs.changes) {
        if (change.rfind("write ", 0) == 0 || change.rfind("mkdir ", 0) == 0 || change.rfind("copy ", 0) == 0) {
            writes.push_back(change);
        }
    }
    return writes;
}

struct UnpackCase {
    const char* row;
    std::vector<FakeEntry> entries;
    UnpackResult result;
    std::string reasonPart;  // in the log's reason
};

TEST(UnpackVerified, RefusedOrDamagedArchivesAreCaught) {
    const std::string big(600 * 1024, 'x');  // more than one read
    FakeEntry good{"good.txt", "fine"};
    FakeEntry crc{"b.txt", big, 0, 8, -1, true};
    FakeEntry truncated{"b.txt", "half", 0, 8, 8, true};  // minizip's CRC stays silent when short
    FakeEntry broken{"b.txt", big, 0, 8, -1, false, 300 * 1024};
    FakeEntry longer{"b.txt", "longer than said", 0, 0, 4};
    FakeEntry encrypted{"b.txt", "x", 0x0001, 8};
    FakeEntry bzip2{"b.txt", "x", 0, 12};
    FakeEntry slip{"../b.txt", "x"};
    FakeEntry utf8Slip{Utf8(u8"..\\b.txt"), "x", kZipFlagUtf8Name};
    FakeEntry device{"lib/aux.dll", "x"};
    const UnpackCase cases[] = {
        {"zip slip after a good entry", {good, slip}, UnpackResult::Refused, "../b.txt"},
        {"UTF-8 flagged zip slip", {good, utf8Slip}, UnpackResult::Refused, ""},
        {"a device name", {good, device}, UnpackResult::Refused, ""},
        {"an encrypted entry", {good, encrypted}, UnpackResult::Refused, ""},
        {"a method minizip would hand back raw", {good, bzip2}, UnpackResult::Refused, ""},
        {"CRC mismatch", {good, crc}, UnpackResult::Damaged, "CRC"},
        {"short entry whose CRC minizip never checks", {good, truncated}, UnpackResult::Damaged, ""},
        {"broken deflate stream, a negative read", {good, broken}, UnpackResult::Damaged, ""},
        {"more bytes than declared", {good, longer}, UnpackResult::Damaged, ""},
    };
    for (const UnpackCase& c : cases) {
        MemoryFileSystem fs;
        fs.AddFolder("C:\\e");
        FakeArchive archive;
        archive.entries = c.entries;
        TableDecoder decoder;
        const UnpackOutcome outcome = UnpackVerified(archive, fs, decoder, "C:\\a.zip", "C:\\e");
        EXPECT_EQ(outcome.result, c.result) << c.row;
        EXPECT_FALSE(outcome.reason.empty()) << c.row;
        if (!c.reasonPart.empty()) {
            EXPECT_PRED2(Contains, outcome.reason + outcome.entryName, c.reasonPart) << c.row;
        }
        if (c.result == UnpackResult::Refused) {
            EXPECT_EQ(Writes(fs), std::vector<std::string>{}) << c.row << ": a refused archive writes nothing";
        }
    }
}

TEST(UnpackVerified, UnpacksStoredAndDeflatedEntriesWithTheirFolders) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\e");
    fs.AddFile("C:\\e\\lib\\x.dll", "");  // an existing file is overwritten
    fs.AddFolder("C:\\e\\lib");
    FakeArchive archive;
    const std::string big(700 * 1024, 'y');
    archive.entries = {
        {"lib/x.dll", big, 0, 0},
        {"lib/sub/", "", 0, 0},
        {"deep/er/z.txt", "z", 0, 8},
        {Utf8(u8"文档/更新.txt"), "u", kZipFlagUtf8Name, 0},
        {Bytes("cbb5c3f72e747874"), "gbk", 0, 8},
        {"empty.txt", "", 0, 0},
    };
    TableDecoder decoder;
    decoder.table[Utf8(u8"文档/更新.txt")] = Bytes("cec4b5b52fb8fcd0c22e747874");
    const UnpackOutcome outcome = UnpackVerified(archive, fs, decoder, "C:\\a.zip", "C:\\e");
    ASSERT_EQ(outcome.result, UnpackResult::Ok) << outcome.reason << " " << outcome.entryName;
    EXPECT_EQ(fs.files["C:\\e\\lib\\x.dll"], big);
    EXPECT_TRUE(fs.folders.count("C:\\e\\lib\\sub"));
    EXPECT_EQ(fs.files["C:\\e\\deep\\er\\z.txt"], "z");
    EXPECT_EQ(fs.files["C:\\e\\" + Bytes("cec4b5b5") + "\\" + Bytes("b8fcd0c22e747874")], "u");
    EXPECT_EQ(fs.files["C:\\e\\" + Bytes("cbb5c3f72e747874")], "gbk");
    EXPECT_TRUE(fs.files.count("C:\\e\\empty.txt"));
}

TEST(UnpackVerified, ArchivesThatCannotBeRead) {
    const struct {
        const char* row;
        bool opens;
        bool listBreaks;
        UnpackResult result;
    } cases[] = {
        {"not a ZIP file", false, false, UnpackResult::CannotOpen},
        {"central directory breaks off", true, true, UnpackResult::Damaged},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        fs.AddFolder("C:\\e");
        FakeArchive archive;
        archive.opens = c.opens;
        archive.listBreaksAtEnd = c.listBreaks;
        archive.entries = {{"a.txt", "a"}};
        TableDecoder decoder;
        EXPECT_EQ(UnpackVerified(archive, fs, decoder, "C:\\a.zip", "C:\\e").result, c.result) << c.row;
        EXPECT_EQ(Writes(fs), std::vector<std::string>{}) << c.row;
    }
}

TEST(UnpackVerified, AFileThatCannotBeWrittenFails) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\e");
    fs.unwritable.insert("C:\\e\\b.txt");
    FakeArchive archive;
    archive.entries = {{"a.txt", "a"}, {"b.txt", "b"}};
    TableDecoder decoder;
    EXPECT_EQ(UnpackVerified(archive, fs, decoder, "C:\\a.zip", "C:\\e").result, UnpackResult::WriteFailed);
}

TEST(CopyFolderTree, CopiesTheTreeAndCreatesDottedFoldersEmpty) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\e");
    fs.AddFile("C:\\e\\a.txt", "new a");
    fs.AddFolder("C:\\e\\lib");
    fs.AddFolder("C:\\e\\lib\\sub");
    fs.AddFile("C:\\e\\lib\\sub\\deep.txt", "deep");
    fs.AddFolder("C:\\e\\.git");
    fs.AddFile("C:\\e\\.git\\config", "secret");
    fs.AddFolder("C:\\e\\only");
    fs.AddFolder("C:\\e\\only\\folders");
    fs.AddFolder("C:\\p");
    fs.AddFile("C:\\p\\a.txt", "old a");
    fs.AddFile("C:\\p\\keep.txt", "keep");
    int pumps = 0;
    const std::vector<std::string> failures =
        CopyFolderTree(fs, [&pumps] { ++pumps; }, "C:\\e", "C:\\p\\u\\..\\");
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(fs.files["C:\\p\\a.txt"], "new a");
    EXPECT_EQ(fs.files["C:\\p\\keep.txt"], "keep");
    EXPECT_EQ(fs.files["C:\\p\\lib\\sub\\deep.txt"], "deep");
    EXPECT_TRUE(fs.folders.count("C:\\p\\.git"));
    EXPECT_FALSE(fs.files.count("C:\\p\\.git\\config")) << "a dotted folder is created, not copied";
    EXPECT_TRUE(fs.folders.count("C:\\p\\only\\folders"));
    EXPECT_EQ(pumps, 5) << "once at each folder copied: e, lib, sub, only, folders";
}

TEST(CopyFolderTree, ReportsWhatCouldNotBeReplaced) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\e");
    fs.AddFile("C:\\e\\a.txt", "a");
    fs.AddFile("C:\\e\\b.txt", "b");
    fs.AddFolder("C:\\p");
    fs.unwritable.insert("C:\\p\\a.txt");
    const auto failures = CopyFolderTree(fs, [] {}, "C:\\e\\", "C:\\p");
    EXPECT_EQ(failures, std::vector<std::string>{"C:\\p\\a.txt"});
    EXPECT_EQ(fs.files["C:\\p\\b.txt"], "b");
}

TEST(DeleteFolderTree, RemovesEverythingButNeverFollowsALink) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\u");
    fs.AddFolder("C:\\u\\e");
    fs.AddFile("C:\\u\\e\\a", "a");
    fs.AddFolder("C:\\u\\e\\d");
    fs.AddFile("C:\\u\\e\\d\\b", "b");
    fs.AddFolder("C:\\u\\e\\link");
    fs.AddFile("C:\\u\\e\\link\\precious", "p");
    fs.links.insert("C:\\u\\e\\link");
    EXPECT_TRUE(DeleteFolderTree(fs, "C:\\u\\e"));
    EXPECT_FALSE(fs.folders.count("C:\\u\\e"));
    EXPECT_FALSE(fs.files.count("C:\\u\\e\\a"));
    EXPECT_FALSE(fs.files.count("C:\\u\\e\\d\\b"));
    EXPECT_TRUE(fs.files.count("C:\\u\\e\\link\\precious"));
    EXPECT_TRUE(DeleteFolderTree(fs, "C:\\u\\missing")) << "nothing there is as good as deleted";
    fs.AddFile("C:\\x", "x");
    EXPECT_FALSE(DeleteFolderTree(fs, "C:\\"));
    EXPECT_FALSE(DeleteFolderTree(fs, ""));
    EXPECT_TRUE(fs.files.count("C:\\x"));
}

// A program folder C:\p with its updater in C:\p\升级文件 and a downloaded archive.
struct Installation {
    RecordingView view;
    FakeEngine engine;
    MemoryFileSystem fs;
    FakeArchive archive;
    TableDecoder decoder;
    FakeShell shell;
    FakeVerifier verifier;
    std::string updaterFolder = "C:\\p\\" + kUp;
    std::string archiveFile = "C:\\p\\" + kUp + "\\" + kUp + "\\temp1.zip";
    std::string extraction = "C:\\p\\" + kUp + "\\e_update";
    std::unique_ptr<Updater> updater;

    explicit Installation(std::string programName = "Quimbrel.exe", std::string address = "http://h/r.zip",
                          bool keyed = false) {
        verifier.keyed = keyed;
        fs.AddFolder("C:\\p");
        fs.AddFile("C:\\p\\Quimbrel.exe", "old exe");
        fs.AddFile("C:\\p\\keep.txt", "keep");
        fs.AddFolder("C:\\p\\lib");
        fs.AddFile("C:\\p\\lib\\x.dll", "old dll");
        fs.AddFolder(updaterFolder);
        fs.AddFile(updaterFolder + "\\update.exe", "updater");
        archive.entries = {{"Quimbrel.exe", "new exe", 0, 8}, {"lib/x.dll", "new dll", 0, 0},
                           {"lib/y/z.txt", "z", 0, 8}, {".hidden/h.txt", "h", 0, 8}};
        updater = std::make_unique<Updater>(
            UpdaterPorts{view, engine, fs, archive, decoder, shell, verifier}, updaterFolder,
            std::vector<std::string>{Bytes("c6f4b6afc6bebedd"), address, "t", "run", programName, "f"});
        updater->UpdaterStart();
        fs.AddFile(archiveFile, "zip bytes");  // as the engine left it
        // An interrupted run's leftovers.
        fs.AddFolder(extraction);
        fs.AddFile(extraction + "\\stale.txt", "stale");
    }

    std::map<std::string, std::string> Program() const {
        std::map<std::string, std::string> program;
        for (const auto& [path, data] : fs.files) {
            if (path.rfind("C:\\p\\" + kUp, 0) != 0) program[path] = data;
        }
        for (const std::string& folder : fs.folders) {
            if (folder.rfind("C:\\p", 0) == 0 && folder.rfind("C:\\p\\" + kUp, 0) != 0) program[folder + "\\"] = "";
        }
        return program;
    }
    void ExpectTemporariesGone() const {
        EXPECT_FALSE(fs.files.count(archiveFile));
        EXPECT_FALSE(fs.folders.count(extraction));
        EXPECT_FALSE(fs.folders.count(updaterFolder + "\\e_backup"));
        EXPECT_TRUE(fs.files.count(updaterFolder + "\\update.exe"));
    }
};

TEST(FinishUpdate, InstallsTheReleaseAndStartsTheProgramAgain) {
    Installation t;
    t.updater->OnTransferEvent(4, t.engine.handle);
    const std::map<std::string, std::string> expected = {
        {"C:\\p\\", ""},
        {"C:\\p\\Quimbrel.exe", "new exe"},
        {"C:\\p\\keep.txt", "keep"},
        {"C:\\p\\lib\\", ""},
        {"C:\\p\\lib\\x.dll", "new dll"},
        {"C:\\p\\lib\\y\\", ""},
        {"C:\\p\\lib\\y\\z.txt", "z"},
        {"C:\\p\\.hidden\\", ""},
    };
    EXPECT_EQ(t.Program(), expected) << "stale.txt is never copied; .hidden arrives empty";
    t.ExpectTemporariesGone();
    EXPECT_EQ(t.shell.started, std::vector<std::string>{"\"C:\\p\\" + kUp + "\\..\\Quimbrel.exe\""});
    EXPECT_EQ(t.shell.ends, std::vector<int>{0});
    EXPECT_TRUE(t.shell.boxes.empty());
}

TEST(FinishUpdate, EveryFailureLeavesTheProgramAsItWasAndStartsIt) {
    const struct {
        const char* row;
        int code;
        std::vector<FakeEntry> entries;
        bool opens;
        std::string messagePart;  // in the box
        std::string logPart;
    } cases[] = {
        {"transfer failed (9)", 9, {}, true, Bytes("cfc2d4d8c9fdbcb6cec4bcfecaa7b0dc"), Bytes("cfdfb3ccd2ecb3a3bde1caf8")},
        {"zip slip", 4, {{"Quimbrel.exe", "new exe"}, {"..\\..\\evil.exe", "evil"}}, true, Bytes("bedcbef8b0b2d7b0"),
         "evil.exe"},
        {"CRC mismatch on the second entry", 4, {{"Quimbrel.exe", "new exe"}, {"lib/x.dll", "bad", 0, 0, -1, true}},
         true, Bytes("d2d1cbf0bbb5"), "CRC"},
        {"not an archive", 4, {}, false, Bytes("d2d1cbf0bbb5"), ""},
    };
    for (const auto& c : cases) {
        Installation t;
        t.archive.entries = c.entries;
        t.archive.opens = c.opens;
        const auto before = t.Program();
        t.updater->OnTransferEvent(c.code, t.engine.handle);
        EXPECT_EQ(t.Program(), before) << c.row;
        t.ExpectTemporariesGone();
        ASSERT_EQ(t.shell.boxes.size(), 1u) << c.row;
        EXPECT_PRED2(Contains, t.shell.boxes[0].text, c.messagePart) << c.row;
        EXPECT_PRED2(Contains, t.shell.boxes[0].text, Bytes("b3ccd0f2c3bbd3d0b1bbd0deb8c4")) << c.row;  // 程序没有被修改
        EXPECT_EQ(t.shell.boxes[0].caption, Bytes("c9fdbcb6caa7b0dc")) << c.row;  // 升级失败
        EXPECT_PRED2(Contains, t.view.log, c.logPart) << c.row;
        EXPECT_EQ(t.shell.started, std::vector<std::string>{"\"C:\\p\\" + kUp + "\\..\\Quimbrel.exe\""}) << c.row;
        EXPECT_EQ(t.shell.ends, std::vector<int>{0}) << c.row;
    }
}

TEST(FinishUpdate, AProgramNameThatIsNoBareNameIsNeverStarted) {
    Installation t("..\\..\\Windows\\evil.exe");
    t.updater->OnTransferEvent(4, t.engine.handle);
    EXPECT_TRUE(t.shell.started.empty());
    EXPECT_PRED2(Contains, t.view.log, Bytes("b3ccd0f2c3fbb3c6ceded0a7"));  // 程序名称无效
    EXPECT_EQ(t.shell.ends, std::vector<int>{0});
}

TEST(FinishUpdate, AFileThatCannotBeReplacedRollsTheInstallBack) {
    const struct {
        const char* row;
        bool held;  // held without sharing: it cannot even be moved aside
    } cases[] = {{"cannot be written", false}, {"held by another program", true}};
    for (const auto& c : cases) {
        Installation t;
        (c.held ? t.fs.held : t.fs.unwritable).insert("C:\\p\\lib\\x.dll");
        const auto before = t.Program();
        t.updater->OnTransferEvent(4, t.engine.handle);
        EXPECT_EQ(t.Program(), before) << c.row << ": Quimbrel.exe, replaced first, is back";
        t.ExpectTemporariesGone();
        EXPECT_PRED2(Contains, t.view.log, "C:\\p\\" + kUp + "\\..\\lib\\x.dll") << c.row;
        ASSERT_EQ(t.shell.boxes.size(), 1u) << c.row;
        EXPECT_PRED2(Contains, t.shell.boxes[0].text, Bytes("b3ccd0f2c3bbd3d0b1bbd0deb8c4")) << c.row;
        EXPECT_EQ(t.shell.started.size(), 1u) << c.row;
        EXPECT_EQ(t.shell.ends, std::vector<int>{0}) << c.row;
    }
}

TEST(FinishUpdate, AKeyedUpdaterOpensOnlyASignedArchive) {
    const std::string signature(86, 'A');
    const struct {
        const char* row;
        std::string address;
        VerifyResult result;
        bool installs;
    } cases[] = {
        {"good", "http://h/r.zip#sig=" + signature, VerifyResult::Valid, true},
        {"bad", "http://h/r.zip#sig=" + signature, VerifyResult::Invalid, false},
        {"unsigned", "http://h/r.zip", VerifyResult::Valid, false},
        {"malformed", "http://h/r.zip#sig=AAAA", VerifyResult::Valid, false},
    };
    for (const auto& c : cases) {
        Installation t("Quimbrel.exe", c.address, true);
        t.verifier.result = c.result;
        const auto before = t.Program();
        t.updater->OnTransferEvent(4, t.engine.handle);
        EXPECT_EQ(t.fs.files["C:\\p\\Quimbrel.exe"], c.installs ? "new exe" : "old exe") << c.row;
        if (!c.installs) {
            EXPECT_EQ(t.Program(), before) << c.row;
            EXPECT_EQ(t.archive.opened, 0) << c.row << ": a refused archive is never opened";
            ASSERT_EQ(t.shell.boxes.size(), 1u) << c.row;
            EXPECT_PRED2(Contains, t.shell.boxes[0].text, Bytes("c7a9c3fb")) << c.row;  // 签名
        }
        t.ExpectTemporariesGone();
        EXPECT_EQ(t.shell.started.size(), 1u) << c.row;
        EXPECT_EQ(t.shell.ends, std::vector<int>{0}) << c.row;
    }
}

TEST(FinishUpdate, AnUnkeyedUpdaterNeitherChecksNorLogsASignature) {
    Installation t("Quimbrel.exe", "http://h/r.zip#sig=broken");
    const std::string logBefore = t.view.log;
    t.updater->OnTransferEvent(4, t.engine.handle);
    EXPECT_TRUE(t.verifier.calls.empty());
    EXPECT_EQ(t.fs.files["C:\\p\\Quimbrel.exe"], "new exe");
    EXPECT_EQ(t.view.log, logBefore + " #" + Bytes("b4abcbcdb3a3c1bf2ecfc2d4d8c9cfb4abbde1caf8") + "\r\n");
}

}  // namespace
}  // namespace qb

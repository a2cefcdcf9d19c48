#pragma once

#include <vector>

#include "base/text.h"
#include "updater/arguments.h"
#include "updater/signature.h"
#include "updater/unpack.h"
#include "updater/updater_ports.h"

namespace qb {

// The files and folders of one run, every one built from the updater's own folder.
struct UpdaterPaths {
    Text programFolder;     // the parent, written with its dots and a closing backslash
    Text downloadFolder;    // 升级文件 inside the updater's folder, with a closing backslash
    Text archiveFile;       // temp<task>.zip in the download folder
    Text extractionFolder;  // e_update inside the updater's folder
    Text backupFolder;      // e_backup inside the updater's folder: replaced files wait here
};

UpdaterPaths MakeUpdaterPaths(const Text& updaterFolder, int task);

// The program started again after the update: its path quoted, so that a folder with a
// space in it neither fails nor starts C:\Program.exe. Empty when the name is not a bare
// file name, which could start any program on the disk.
std::optional<Text> RestartCommandLine(const Text& programFolder, std::string_view programName);

// Texts of the window and its boxes.
namespace updater_text {
inline constexpr std::string_view kBadArguments = "程序调用参数错误！";
inline constexpr std::string_view kBadArgumentsCaption = "信息：";
inline constexpr std::string_view kPleaseWait = "请等待下载完成...";
inline constexpr std::string_view kPleaseWaitCaption = "提示信息";
inline constexpr std::string_view kTransferEndedMark = "下载上传结束";
inline constexpr std::string_view kFailureCaption = "升级失败";
}  // namespace updater_text

// Why an update was given up; each has its own words for the user.
enum class UpdateFailure { Transfer, ArchiveRefused, ArchiveDamaged, SignatureRefused, InstallRolledBack,
                           InstallHalfDone };

struct UpdaterPorts {
    UpdaterView& view;
    DownloadEngine& engine;
    FileSystem& fileSystem;
    ArchiveReader& archive;
    const NameDecoder& decoder;
    UpdaterShell& shell;
    SignatureVerifier& verifier;
};

// update.exe from its window's creation to its end. Every handler runs on the user-interface
// thread; the engine's events arrive there through OnTransferEvent.
class Updater {
public:
    Updater(UpdaterPorts ports, Text updaterFolder, std::vector<Text> arguments);

    // The window's created event, before it is shown.
    void UpdaterStart();
    void StartDownloadTask(int task);
    // Always answers 1 to the engine.
    int OnTransferEvent(int code, TaskHandle handle);
    void FinishUpdate(int task);
    // The window's close query.
    bool CanCloseUpdater();

private:
    enum class Phase { NotStarted, Downloading, Finishing, GivenUp, Stopped };

    void GiveUp(UpdateFailure failure);
    void RemoveTemporaries();
    void RestartProgram();
    void Log(std::string_view text) { ports_.view.AppendLog(text); }

    UpdaterPorts ports_;
    Text updaterFolder_;
    std::vector<Text> arguments_;
    std::optional<UpdaterArguments> checked_;
    UpdaterPaths paths_;
    int task_ = 0;
    TaskHandle handle_ = 0;
    Phase phase_ = Phase::NotStarted;
};

}  // namespace qb

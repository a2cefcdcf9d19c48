#include "updater/updater.h"

#include <string>

#include "updater/file_names.h"
#include "updater/folder_tree.h"
#include "updater/install.h"
#include "updater/transfer_figures.h"

namespace qb {

namespace {

constexpr uint32_t kErrorBoxStyle = win::kMbIconError | win::kMbTaskModal;
constexpr uint32_t kPleaseWaitStyle = win::kMbOkCancel | win::kMbIconInformation | win::kMbTaskModal;

std::string_view FailureMessage(UpdateFailure failure) {
    switch (failure) {
        case UpdateFailure::Transfer: return "下载升级文件失败，程序没有被修改。";
        case UpdateFailure::ArchiveRefused: return "升级文件含有不安全的文件名，已拒绝安装，程序没有被修改。";
        case UpdateFailure::ArchiveDamaged: return "升级文件已损坏，无法完整解压，程序没有被修改。";
        case UpdateFailure::SignatureRefused: return "升级文件未通过签名验证，已拒绝安装，程序没有被修改。";
        case UpdateFailure::InstallRolledBack: return "有文件无法替换，已恢复原来的文件，程序没有被修改。";
        case UpdateFailure::InstallHalfDone:
            return "有文件无法替换，也无法全部恢复，程序可能已损坏。原来的文件保存在升级文件夹的 e_backup 中。";
    }
    return "升级失败，程序没有被修改。";
}

std::string_view EventLogText(int code) {
    switch (code) {
        case transfer::kStarted: return " #传送常量.下载上传开始\r\n";
        case transfer::kEnded: return " #传送常量.下载上传结束\r\n";
        case transfer::kDataRange: return " #传送常量.下载数据范围\r\n";
        case transfer::kThreadContinues: return " #传送常量.下载线程继续下载\r\n";
        case transfer::kThreadEndedNormally: return " #传送常量.线程正常结束\r\n";
        case transfer::kThreadEndedAbnormally: return " #传送常量.线程异常结束\r\n";
        case transfer::kDataReceived: return " #传送常量.收到数据\r\n";
        case transfer::kSameNameExists: return " #传送常量.存在同名文件\r\n";
        default: return {};
    }
}

}  // namespace

UpdaterPaths MakeUpdaterPaths(const Text& updaterFolder, int task) {
    return {
        updaterFolder + "\\..\\",
        updaterFolder + "\\升级文件\\",
        updaterFolder + "\\升级文件\\temp" + std::to_string(task) + ".zip",
        updaterFolder + "\\e_update",
        updaterFolder + "\\e_backup",
    };
}

std::optional<Text> RestartCommandLine(const Text& programFolder, std::string_view programName) {
    if (CheckBareFileName(programName) != NameFault::None) return std::nullopt;
    return "\"" + programFolder + Text(programName) + "\"";
}

Updater::Updater(UpdaterPorts ports, Text updaterFolder, std::vector<Text> arguments)
    : ports_(ports), updaterFolder_(std::move(updaterFolder)), arguments_(std::move(arguments)) {}

void Updater::UpdaterStart() {
    checked_ = ReadUpdaterArguments(arguments_);
    if (!checked_) {
        (void)ports_.shell.ShowMessage(updater_text::kBadArguments, updater_text::kBadArgumentsCaption, kErrorBoxStyle);
        ports_.shell.EndUpdater(0);
        return;
    }
    (void)ports_.view.BuildTaskRow(1);  // without its row the log still tells the story
    StartDownloadTask(1);
}

void Updater::StartDownloadTask(int task) {
    task_ = task;
    paths_ = MakeUpdaterPaths(updaterFolder_, task);
    Log("执行下载任务" + std::to_string(task));
    const DownloadTask settings{checked_->address, paths_.archiveFile, checked_->title};
    (void)ports_.fileSystem.CreateFolder(paths_.downloadFolder);  // the engine's file creation tells
    (void)ports_.fileSystem.RemoveFile(paths_.archiveFile);       // usually not there
    phase_ = Phase::Downloading;
    handle_ = ports_.engine.Start(settings);
    if (handle_ == 0) {
        Log("下载任务无法启动\r\n");
        GiveUp(UpdateFailure::Transfer);
        return;
    }
    ports_.shell.PumpPendingMessages();
}

int Updater::OnTransferEvent(int code, TaskHandle handle) {
    const bool matches = handle != 0 && handle == handle_;
    UpdaterView& view = ports_.view;
    switch (code) {
        case transfer::kStarted:
            Log(EventLogText(code));
            if (!matches) return 1;
            view.SetRowText(task_, RowControl::Name, checked_->title);
            view.SetRowText(task_, RowControl::Size, FormatSizeLabel(ports_.engine.TotalSize()));
            view.ShowRowControl(task_, RowControl::Progress, false);
            view.ShowRowControl(task_, RowControl::Operation, true);
            view.SetRowText(task_, RowControl::Operation, "下载开始");
            return 1;
        case transfer::kEnded:
            if (!matches) return 1;
            Log(EventLogText(code));
            view.ShowRowControl(task_, RowControl::Progress, false);
            view.ShowRowControl(task_, RowControl::Operation, true);
            view.SetRowText(task_, RowControl::Operation, "下载结束");
            view.SetRowText(task_, RowControl::Speed, "");
            handle_ = 0;  // one completion per task, however the engine repeats itself
            phase_ = Phase::Finishing;
            FinishUpdate(task_);
            return 1;
        case transfer::kDataReceived:
            if (!matches) return 1;
            Log(EventLogText(code));
            view.ShowRowControl(task_, RowControl::Operation, false);
            view.ShowRowControl(task_, RowControl::Progress, true);
            view.SetRowText(task_, RowControl::Speed, FormatSpeedLabel(ports_.engine.TakeReceivedSinceLastQuery()));
            view.SetRowProgress(task_, ProgressPercent(ports_.engine.Received(), ports_.engine.TotalSize()));
            return 1;
        case transfer::kThreadEndedAbnormally:
            Log(EventLogText(code));
            // A transfer that failed has no completion to wait for: give up, visibly.
            if (matches && phase_ == Phase::Downloading) {
                handle_ = 0;
                Log("下载失败\r\n");
                GiveUp(UpdateFailure::Transfer);
            }
            return 1;
        default:
            if (const std::string_view text = EventLogText(code); !text.empty()) {
                Log(text);
            } else {
                Log("未知消息 " + std::to_string(code) + "\r\n");
            }
            return 1;
    }
}

void Updater::FinishUpdate(int task) {
    paths_ = MakeUpdaterPaths(updaterFolder_, task);
    const UpdaterPaths& paths = paths_;
    FileSystem& fileSystem = ports_.fileSystem;
    // Nothing the publisher's key has not signed is even opened.
    const SignatureVerdict verdict = CheckArchiveSignature(ports_.verifier, checked_->address, paths.archiveFile);
    if (const std::string_view text = SignatureLogText(verdict); !text.empty()) Log(text);
    if (!MayInstall(verdict)) {
        GiveUp(UpdateFailure::SignatureRefused);
        return;
    }
    // Leftovers of an interrupted run must never be copied over the program.
    (void)DeleteFolderTree(fileSystem, paths.extractionFolder);
    (void)fileSystem.CreateFolder(paths.extractionFolder);  // unpacking tells when it is missing

    const UnpackOutcome unpacked =
        UnpackVerified(ports_.archive, fileSystem, ports_.decoder, paths.archiveFile, paths.extractionFolder);
    if (unpacked.result != UnpackResult::Ok) {
        const bool refused = unpacked.result == UnpackResult::Refused;
        Log(Text(refused ? "拒绝安装升级文件：" : "升级文件解压失败：") + unpacked.reason +
            (unpacked.entryName.empty() ? Text() : " " + unpacked.entryName) + "\r\n");
        GiveUp(refused ? UpdateFailure::ArchiveRefused : UpdateFailure::ArchiveDamaged);
        return;
    }

    UpdaterShell& shell = ports_.shell;
    const InstallOutcome installed =
        InstallFolderTree(fileSystem, [&shell] { shell.PumpPendingMessages(); }, paths.extractionFolder,
                          paths.programFolder, paths.backupFolder);
    for (const Text& failure : installed.failures) Log("无法替换：" + failure + "\r\n");
    for (const Text& path : installed.unrestored) Log("无法恢复：" + path + "\r\n");
    if (!installed.installed) {
        GiveUp(installed.unrestored.empty() ? UpdateFailure::InstallRolledBack : UpdateFailure::InstallHalfDone);
        return;
    }
    (void)fileSystem.RemoveFile(paths.archiveFile);
    (void)DeleteFolderTree(fileSystem, paths.extractionFolder);
    RestartProgram();
    shell.EndUpdater(0);
}

bool Updater::CanCloseUpdater() {
    const Text log = ports_.view.LogText();
    if (log.find(updater_text::kTransferEndedMark) != Text::npos) return true;
    if (log.empty()) return true;
    if (phase_ != Phase::Downloading) return true;  // nothing left to wait for
    const int answer = ports_.shell.ShowMessage(updater_text::kPleaseWait, updater_text::kPleaseWaitCaption,
                                                kPleaseWaitStyle);
    if (answer == win::kIdOk) return false;
    if (phase_ == Phase::Downloading) {
        ports_.engine.Stop();
        handle_ = 0;  // whatever the engine still had in flight now matches no task
        phase_ = Phase::Stopped;
    }
    return true;
}

void Updater::GiveUp(UpdateFailure failure) {
    phase_ = Phase::GivenUp;
    RemoveTemporaries();
    (void)ports_.shell.ShowMessage(FailureMessage(failure), updater_text::kFailureCaption, kErrorBoxStyle);
    RestartProgram();
    ports_.shell.EndUpdater(0);
}

void Updater::RemoveTemporaries() {
    (void)ports_.fileSystem.RemoveFile(paths_.archiveFile);  // may never have been written
    (void)DeleteFolderTree(ports_.fileSystem, paths_.extractionFolder);
}

void Updater::RestartProgram() {
    if (!checked_) return;
    const std::optional<Text> commandLine = RestartCommandLine(paths_.programFolder, checked_->programName);
    if (!commandLine) {
        Log("程序名称无效，不重新启动：" + checked_->programName + "\r\n");
        return;
    }
    (void)ports_.shell.RunProgram(*commandLine);  // the updater ends either way
}

}  // namespace qb

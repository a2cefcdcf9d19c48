#include "upgrade/upgrade_road_win32.h"

#include "base/library_win32.h"
#include "base/message_pump.h"
#include "base/process_end.h"
#include "base/run_program.h"
#include "upgrade/code_page_win32.h"
#include "upgrade/handoff.h"
#include "upgrade/http_get.h"
#include "upgrade/update_check.h"
#include "upgrade/updater_deploy.h"

#ifndef QUIMBREL_UPDATE_HOST
#error "QUIMBREL_UPDATE_HOST names the update server"
#endif

namespace qb {

namespace {

class Win32DeployFiles final : public DeployFiles {
public:
    bool Exists(const Text& path) override {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return true;
    }
    void MakeFolder(const Text& relativePath) override { (void)CreateDirectoryA(relativePath.c_str(), nullptr); }
    std::optional<std::string> ReadWhole(const Text& path) override {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return std::nullopt;
        std::optional<std::string> content;
        LARGE_INTEGER size{};
        // Anything far larger than an updater is not ours and is replaced unread.
        if (GetFileSizeEx(file, &size) && size.QuadPart <= (64 << 20)) {
            std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
            DWORD read = 0;
            if (bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                                  read == bytes.size())) {
                content = std::move(bytes);
            }
        }
        CloseHandle(file);
        return content;
    }
    bool WriteNew(const Text& path, std::string_view bytes) override {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size();
        const bool flushed = FlushFileBuffers(file) != FALSE;
        return CloseHandle(file) && whole && flushed;
    }
    bool MoveOver(const Text& source, const Text& target) override {
        return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    void Remove(const Text& path) override { (void)DeleteFileA(path.c_str()); }
};

using MessageBoxTimeoutFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD, DWORD);

constexpr char kUnreachableText[] = "未接通升级服务器";
constexpr char kUnreachableCaption[] = "提示信息";

BOOL CALLBACK CloseUnreachableBox(HWND window, LPARAM) {
    char caption[32] = {};
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, caption, sizeof(caption));
    if (lstrcmpA(className, "#32770") == 0 && lstrcmpA(caption, kUnreachableCaption) == 0) {
        char text[64] = {};
        GetDlgItemTextA(window, 0xFFFF, text, sizeof(text));
        if (lstrcmpA(text, kUnreachableText) == 0) {
            PostMessageA(window, WM_COMMAND, IDOK, 0);
            return FALSE;  // one box per time-out: a nested check has its own
        }
    }
    return TRUE;
}

void CALLBACK UnreachableBoxTimeOut(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EnumThreadWindows(GetCurrentThreadId(), CloseUnreachableBox, 0);
}

class Win32UpdateCheckHost final : public UpdateCheckHost {
public:
    explicit Win32UpdateCheckHost(const UpgradeRoadSettings& settings) : settings_(settings) {}

    void SetCaption(const Text& caption) override { SetWindowTextA(settings_.mainWindow, caption.c_str()); }
    void DeployUpdater() override { DeployEmbeddedUpdater(settings_.runDirectory); }
    std::string HttpGetFile(const Text& url) override { return qb::HttpGetFile(url); }
    CodePageConverter& Converter() override { return converter_; }
    void ShowUnreachableBox() override {
        static const auto timed = LookUp<MessageBoxTimeoutFn>("user32.dll", "MessageBoxTimeoutA");
        // Wine's MessageBoxTimeoutA ignores its time-out, so a thread timer armed first
        // closes the box everywhere; the box's own loop dispatches it.
        const UINT_PTR timer = SetTimer(nullptr, 0, kUnreachableBoxMs, UnreachableBoxTimeOut);
        if (timed) {
            (void)timed(nullptr, kUnreachableText, kUnreachableCaption, MB_OK, 0, kUnreachableBoxMs);
        } else {
            (void)MessageBoxA(nullptr, kUnreachableText, kUnreachableCaption, MB_OK);
        }
        KillTimer(nullptr, timer);
    }
    bool ConfirmUpgrade(const Text& text) override {
        return MessageBoxA(nullptr, text.c_str(), "版本升级", MB_OKCANCEL | MB_ICONINFORMATION | MB_TASKMODAL) == IDOK;
    }
    void StartUpdater() override { qb::StartUpdater(settings_.runDirectory); }
    void Sleep(uint32_t ms) override { ::Sleep(ms); }
    void PumpPendingMessages() override { qb::PumpPendingMessages(); }

private:
    const UpgradeRoadSettings& settings_;
    Win32CodePageConverter converter_;
};

}  // namespace

std::string_view EmbeddedUpdaterImage() {
    HRSRC resource = FindResourceA(nullptr, "UPDATE_EXE", MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!resource) return {};
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const char*>(bytes), SizeofResource(nullptr, resource)};
}

void DeployEmbeddedUpdater(const Text& runDirectory) {
    const std::string_view image = EmbeddedUpdaterImage();
    if (image.empty()) return;
    Win32DeployFiles files;
    qb::DeployUpdater(files, runDirectory, image);
}

void StartUpdater(const Text& runDirectory) {
    const ManifestDocument empty;
    const ManifestDocument& document = TheManifestDocument() ? *TheManifestDocument() : empty;
    ReleaseFields fields;
    fields.downloadAddress = GetAttribute(document, kReleaseElementPath, kDownloadAddressAttribute);
    fields.fileTitle = GetAttribute(document, kReleaseElementPath, kFileTitleAttribute);
    fields.fileName = GetAttribute(document, kReleaseElementPath, kFileNameAttribute);
    fields.notes = GetAttribute(document, kReleaseElementPath, kNotesAttribute);
    (void)RunProgram(BuildHandOffCommandLine(runDirectory, fields));  // the program ends either way
    EndProgram(0);
}

void RunUpdateCheck(const UpgradeRoadSettings& settings) {
    ManifestDocument* document = TheManifestDocument();
    if (!document) return;
    Win32UpdateCheckHost host(settings);
    CheckForUpdate(host, *document, {QUIMBREL_UPDATE_HOST, settings.programVersion, settings.standardCaption});
}

}  // namespace qb

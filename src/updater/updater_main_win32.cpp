// update.exe: downloads the release Quimbrel was told about, installs it over Quimbrel's
// folder and starts Quimbrel again.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "base/message_loop_win32.h"
#include "base/message_pump.h"
#include "base/run_directory.h"
#include "base/run_program.h"
#include "updater/download_engine_win32.h"
#include "updater/file_system_win32.h"
#include "updater/release_key.h"
#include "updater/received_digest_win32.h"
#include "updater/signature_win32.h"
#include "updater/updater.h"
#include "updater/updater_window_win32.h"
#include "updater/zip_archive_minizip.h"

namespace qb {

namespace {

// A worker still reading when the window has gone gets this long to see that it was stopped.
constexpr DWORD kWorkerGraceMs = 2000;
constexpr int kStartFailedCode = -1;

class Win32UpdaterShell final : public UpdaterShell {
public:
    int ShowMessage(std::string_view text, std::string_view caption, uint32_t style) override {
        const Text terminatedText(text), terminatedCaption(caption);
        return MessageBoxA(nullptr, terminatedText.c_str(), terminatedCaption.c_str(), style);
    }
    bool RunProgram(const Text& commandLine) override { return qb::RunProgram(commandLine); }
    void PumpPendingMessages() override { qb::PumpPendingMessages(); }
    // Nothing is registered for the exit clean-up and no library is loaded by name here,
    // so ending is the system's end alone.
    [[noreturn]] void EndUpdater(int code) override { ExitProcess(static_cast<UINT>(code)); }
};

Text ModulePath() {
    Text path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

[[noreturn]] void RunUpdater(HINSTANCE instance) {
    const Text updaterFolder =
        SplitExecutablePath(ModulePath(), [](unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }).runDirectory;

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    Win32UpdaterWindow window;
    FeedbackLabelSink sink(window);
    WinInetDownloadEngine engine(sink);
    Win32FileSystem fileSystem;
    MinizipArchive archive;
    Win32NameDecoder decoder;
    Win32UpdaterShell shell;
    CngSignatureVerifier verifier(ReleasePublicKeyBlob());
    SetReceivedDigestWanted(verifier.Keyed());
    Updater updater({window, engine, fileSystem, archive, decoder, shell, verifier}, updaterFolder,
                    SplitArguments(GetCommandLineA()));
    if (!window.Create(instance, updater)) ExitProcess(static_cast<UINT>(kStartFailedCode));
    window.Show();
    (void)RunMessageLoop();  // the updater ends with 0 however its window closed
    // Closed by the user during a download: the worker may still be reading. The process
    // ends under it, which also ends it before anything it uses is destroyed.
    engine.Stop();
    engine.WaitForWorker(kWorkerGraceMs);
    shell.EndUpdater(0);
}

}  // namespace

}  // namespace qb

// No exception ever reaches the top here; the default handler's name demangler would only
// add 50 KB to the image every update carries.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { qb::RunUpdater(instance); }

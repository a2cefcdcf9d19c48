#pragma once

#include <windows.h>

#include "updater/download_engine_win32.h"
#include "updater/updater.h"

namespace qb {

// The window "下载管理器" and its controls, built from the definition table. It is the
// program's one window, so it keeps its state for the whole run.
class Win32UpdaterWindow final : public UpdaterView {
public:
    // Creates the window hidden; its created event runs UpdaterStart.
    bool Create(HINSTANCE instance, Updater& updater);
    void Show();

    void AppendLog(std::string_view text) override;
    Text LogText() override;
    bool BuildTaskRow(int task) override;
    void SetRowText(int task, RowControl control, std::string_view text) override;
    void ShowRowControl(int task, RowControl control, bool shown) override;
    void SetRowProgress(int task, int percent) override;

    // The hidden label 标签10反馈事件 that carries the engine's events to this thread.
    HWND FeedbackLabel() const;
};

// Hands each event of the worker thread to the user-interface thread and waits there until
// OnTransferEvent has run: a sent message to the feedback label.
class FeedbackLabelSink final : public TransferEventSink {
public:
    explicit FeedbackLabelSink(const Win32UpdaterWindow& window) : window_(window) {}
    int Deliver(int code, TaskHandle handle) override;

private:
    const Win32UpdaterWindow& window_;
};

}  // namespace qb

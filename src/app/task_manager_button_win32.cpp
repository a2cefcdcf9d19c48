#include "app/task_manager_button_win32.h"

#include "app/main_window_win32.h"
#include "launcher/launcher_win32.h"
#include "launcher/task_manager_toggle_win32.h"

namespace qb {

namespace {

class MainWindowToggleCaption final : public ToggleCaption {
public:
    Text Caption() override { return TaskManagerButtonCaption(); }
    void SetCaption(const Text& caption) override { SetTaskManagerButtonCaption(caption); }
};

}  // namespace

void ToggleTaskManagerButton() {
    MainWindowToggleCaption caption;
    RegistryPolicyStore store;
    Win32Launcher launcher;
    ToggleTaskManager(caption, store, launcher);
}

void InitTaskManagerButtonCaption() {
    MainWindowToggleCaption caption;
    RegistryPolicyStore store;
    InitTaskManagerCaption(caption, store);
}

}  // namespace qb

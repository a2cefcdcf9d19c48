#include "app/single_instance_win32.h"

#include <windows.h>

#include "app/program.h"
#include "base/process_end.h"

namespace qb {

static_assert(kGuardBoxStyle == (MB_OK | MB_ICONINFORMATION | MB_TASKMODAL));

bool Win32InstanceGuardHost::OpenGuardEvent(const Text& name) {
    // Left open on purpose: the process's end closes it.
    return OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()) != nullptr;
}

EventCreation Win32InstanceGuardHost::CreateGuardEvent(const Text& name) {
    // Held for the whole run: while it is open, other starts find us.
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
    if (!event) return EventCreation::Failed;
    return GetLastError() == ERROR_ALREADY_EXISTS ? EventCreation::AlreadyExisted : EventCreation::Created;
}

void Win32InstanceGuardHost::ShowBox(const Text& text, const Text& caption, uint32_t style) {
    (void)MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

void Win32InstanceGuardHost::EndProgram(int code) { qb::EndProgram(code); }

void RunSingleInstanceGuard(const Text& name, const Text& message) {
    Win32InstanceGuardHost host;
    SingleInstanceGuard(name, message, TheProgramState().paths, host);
}

}  // namespace qb

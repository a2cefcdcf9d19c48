#pragma once

#include <cstdint>
#include <string_view>

#include "base/run_directory.h"
#include "base/text.h"

namespace qb {

constexpr std::string_view kGuardBoxCaption = "提示信息";
constexpr uint32_t kGuardBoxStyle = 0x2040;  // MB_OK | MB_ICONINFORMATION | MB_TASKMODAL

// The guard's name unchanged, or for an empty one the run directory, a backslash and
// the executable name with every backslash byte turned into a forward slash.
Text GuardEventName(const Text& name, const ExecutablePathParts& paths);

enum class EventCreation {
    Created,
    AlreadyExisted,  // another instance made it between our test and our creation
    Failed,          // an object of another type holds the name, say
};

// What the guard needs from the system. The event handles it gets stay open for the
// life of the process: holding the event is what tells other starts that we run.
class InstanceGuardHost {
public:
    virtual ~InstanceGuardHost() = default;
    // OpenEventA (EVENT_ALL_ACCESS, FALSE, name): true when an event of that name exists.
    virtual bool OpenGuardEvent(const Text& name) = 0;
    // CreateEventA (null, FALSE, FALSE, name).
    virtual EventCreation CreateGuardEvent(const Text& name) = 0;
    // MessageBoxA with no owner; returns when the box has been dismissed.
    virtual void ShowBox(const Text& text, const Text& caption, uint32_t style) = 0;
    [[noreturn]] virtual void EndProgram(int code) = 0;
};

// Returns only when no other instance runs; otherwise tells the user and ends the process.
void SingleInstanceGuard(const Text& name, const Text& message, const ExecutablePathParts& paths,
                         InstanceGuardHost& host);

}  // namespace qb

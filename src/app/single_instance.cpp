#include "app/single_instance.h"

namespace qb {

namespace {

// EndProgram does not return.
void TellAndEnd(const Text& message, InstanceGuardHost& host) {
    host.ShowBox(message, Text(kGuardBoxCaption), kGuardBoxStyle);  // whatever the answer
    host.EndProgram(0);
}

}  // namespace

Text GuardEventName(const Text& name, const ExecutablePathParts& paths) {
    if (!name.empty()) return name;
    // Byte by byte, on purpose: the name must hold no backslash byte at all.
    Text fallback = paths.runDirectory + "\\" + paths.executableName;
    for (char& byte : fallback) {
        if (byte == '\\') byte = '/';
    }
    return fallback;
}

void SingleInstanceGuard(const Text& name, const Text& message, const ExecutablePathParts& paths,
                         InstanceGuardHost& host) {
    const Text eventName = GuardEventName(name, paths);
    if (host.OpenGuardEvent(eventName)) {
        TellAndEnd(message, host);
        return;
    }
    // Two instances started together may both find nothing above; the one whose creation
    // comes second learns it here and stands down like any later start.
    if (host.CreateGuardEvent(eventName) == EventCreation::AlreadyExisted) TellAndEnd(message, host);
}

}  // namespace qb

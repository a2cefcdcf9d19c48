#pragma once

#include "base/exit_cleanup.h"

namespace qb {

// What ending the process needs from the system, in the order EndProgram uses it.
class ProcessEnder {
public:
    virtual ~ProcessEnder() = default;
    virtual void FreeLibrariesLoadedByName() = 0;
    virtual void OleUninitialize() = 0;
    [[noreturn]] virtual void ExitProcess(int code) = 0;
};

// Exit clean-up in registration order, then the system's share, then the end.
[[noreturn]] void EndProgramWith(ExitCleanup& cleanup, ProcessEnder& ender, int code);

// The process's own: ends this process at once, without closing the main window.
[[noreturn]] void EndProgram(int code);

}  // namespace qb

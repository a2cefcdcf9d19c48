#include "base/process_end.h"

#include <cstdlib>

namespace qb {

void EndProgramWith(ExitCleanup& cleanup, ProcessEnder& ender, int code) {
    cleanup.RunAll();
    ender.FreeLibrariesLoadedByName();
    ender.OleUninitialize();
    ender.ExitProcess(code);
    std::abort();  // a virtual call carries no noreturn; ExitProcess never comes back
}

}  // namespace qb

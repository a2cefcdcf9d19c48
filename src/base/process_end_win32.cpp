#include <windows.h>
#include <ole2.h>

#include "base/library_win32.h"
#include "base/process_end.h"

namespace qb {

namespace {

class Win32ProcessEnder final : public ProcessEnder {
public:
    void FreeLibrariesLoadedByName() override { FreeLoadedLibraries(); }
    void OleUninitialize() override { ::OleUninitialize(); }
    [[noreturn]] void ExitProcess(int code) override { ::ExitProcess(static_cast<UINT>(code)); }
};

}  // namespace

void EndProgram(int code) {
    Win32ProcessEnder ender;
    EndProgramWith(ProcessExitCleanup(), ender, code);
}

}  // namespace qb

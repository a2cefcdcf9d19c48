#pragma once

#include <windows.h>

namespace qb {

// Looks a function up by name in a system library loaded for the purpose. The library
// stays loaded for the rest of the run (the pointer is kept) and EndProgram frees it.
FARPROC LookUpFunction(const char* library, const char* function);

template <typename Fn>
Fn LookUp(const char* library, const char* function) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(LookUpFunction(library, function)));
}

void FreeLoadedLibraries();

}  // namespace qb

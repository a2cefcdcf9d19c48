#include "base/library_win32.h"

#include <cstring>
#include <vector>

namespace qb {

namespace {

struct LoadedLibrary {
    const char* name;
    HMODULE module;
};

std::vector<LoadedLibrary>& Loaded() {
    static std::vector<LoadedLibrary> loaded;
    return loaded;
}

HMODULE LoadOnce(const char* name) {
    for (const LoadedLibrary& library : Loaded()) {
        if (std::strcmp(library.name, name) == 0) return library.module;
    }
    HMODULE module = LoadLibraryA(name);
    if (module) Loaded().push_back({name, module});
    return module;
}

}  // namespace

FARPROC LookUpFunction(const char* library, const char* function) {
    HMODULE module = LoadOnce(library);
    return module ? GetProcAddress(module, function) : nullptr;
}

void FreeLoadedLibraries() {
    for (const LoadedLibrary& library : Loaded()) FreeLibrary(library.module);
    Loaded().clear();
}

}  // namespace qb

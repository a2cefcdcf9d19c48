#pragma once

#include "app/single_instance.h"

namespace qb {

class Win32InstanceGuardHost final : public InstanceGuardHost {
public:
    bool OpenGuardEvent(const Text& name) override;
    EventCreation CreateGuardEvent(const Text& name) override;
    void ShowBox(const Text& text, const Text& caption, uint32_t style) override;
    [[noreturn]] void EndProgram(int code) override;
};

// The guard of the created sequence, with the process's own run directory and name.
void RunSingleInstanceGuard(const Text& name, const Text& message);

}  // namespace qb

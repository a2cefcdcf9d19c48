#pragma once

#include "launcher/launch_table.h"

namespace qb {

class Win32Launcher final : public Launcher {
public:
    bool RunProgram(const Text& commandLine) override;
    void ShellOpen(const Text& file, const Text& parameters) override;
    std::optional<Text> WindowsDirectory() override;
};

}  // namespace qb

#pragma once

#include <cstdint>

#include "launcher/launch_table.h"

namespace qb {

enum class CommandHandler { None, Launch, TaskManagerToggle, CheckForUpdate, About };

struct CommandRoute {
    CommandHandler handler;
    const LaunchEntry* launch = nullptr;  // for Launch
};

// Where a WM_COMMAND of the main window goes, from its button or menu command id.
CommandRoute RouteCommand(int32_t id);

}  // namespace qb

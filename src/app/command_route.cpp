#include "app/command_route.h"

#include "app/main_window_def.h"

namespace qb {

CommandRoute RouteCommand(int32_t id) {
    if (const int button = ButtonNumberFromId(id)) {
        if (button == 3) return {CommandHandler::TaskManagerToggle};
        const LaunchEntry* launch = FindLaunch(FindControlById(id)->name);
        return launch ? CommandRoute{CommandHandler::Launch, launch} : CommandRoute{CommandHandler::None};
    }
    const MenuItemDef* item = FindMenuItemByCommand(id);
    if (!item) return {CommandHandler::None};
    switch (item->action) {
        case MenuAction::CheckForUpdate:
            return {CommandHandler::CheckForUpdate};
        case MenuAction::About:
            return {CommandHandler::About};
        case MenuAction::None:
            return {CommandHandler::None};
        default: {
            const LaunchEntry* launch = FindLaunch(item->caption);
            return launch ? CommandRoute{CommandHandler::Launch, launch} : CommandRoute{CommandHandler::None};
        }
    }
}

}  // namespace qb

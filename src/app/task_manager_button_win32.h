#pragma once

namespace qb {

// The Task Manager toggle on 按钮3 of the main window, against the system registry.
void ToggleTaskManagerButton();
void InitTaskManagerButtonCaption();

}  // namespace qb

#include "launcher/launch_table.h"

namespace qb {

using enum LaunchOp;

const std::array<LaunchEntry, 20> kButtonLaunches = {{
    {"按钮1", ShellOpen, "diskmgmt.msc"},
    {"按钮2", RunProgram, "notepad"},
    {"按钮4", RunProgram, "dxdiag"},
    {"按钮5", RunProgram, "mspaint"},
    {"按钮6", RunProgram, "osk"},
    {"按钮7", ShellOpen, "perfmon.msc"},
    {"按钮8", RunProgram, "calc"},
    {"按钮9", RunProgram, "regedit.exe"},
    {"按钮10", RunProgram, "mstsc"},
    {"按钮11", RunProgram, "eventvwr"},
    {"按钮12", RunProgram, "CMD"},
    {"按钮13", RunProgram, "msinfo32"},
    {"按钮14", RunProgram, "winver"},
    {"按钮15", RunProgram, "resmon"},
    {"按钮16", RunProgram, "dcomcnfg"},
    {"按钮17", RunProgram, "utilman"},
    {"按钮18", ShellOpen, "devmgmt.msc"},
    {"按钮19", RunProgram, "eudcedit"},
    {"按钮20", RunProgram, "cleanmgr"},
    {"按钮21", RunProgram, "chkdsk"},
}};

const std::array<LaunchEntry, 6> kMenuLaunches = {{
    {"注销(&L)", ShellOpen, "logoff"},
    {"重新启动(&R)", RunProgram, "shutdown -r"},
    {"关机(&U)", RunProgram, "shutdown -s "},
    {"我的电脑(&W)", RunProgram, "explorer.exe  ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}  "},
    {"我的文档(&D)", RunProgramInWindowsFolder, "explorer.exe ::{450D8FBA-AD25-11D0-98A8-0800361B1103}  "},
    {"控制面板(&B)", RunProgram, "control"},
}};

const LaunchEntry* FindLaunch(std::string_view control) {
    for (const LaunchEntry& entry : kButtonLaunches) {
        if (entry.control == control) return &entry;
    }
    for (const LaunchEntry& entry : kMenuLaunches) {
        if (entry.control == control) return &entry;
    }
    return nullptr;
}

Text WindowsFolderPath(Launcher& launcher) {
    Text folder = launcher.WindowsDirectory().value_or(Text());
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

void Launch(const LaunchEntry& entry, Launcher& launcher) {
    const Text text(entry.text);
    switch (entry.op) {
        case RunProgram:
            (void)launcher.RunProgram(text);  // a tool missing on this edition fails silently
            break;
        case ShellOpen:
            launcher.ShellOpen(text, text);
            break;
        case RunProgramInWindowsFolder:
            // Queried at each selection: the folder is never cached.
            (void)launcher.RunProgram(WindowsFolderPath(launcher) + text);
            break;
    }
}

}  // namespace qb

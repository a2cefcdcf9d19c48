#include "app/main_window_def.h"

namespace qb {

const MainWindowDef kMainWindow = {
    "WTWindow",
    win::kCsVRedraw | win::kCsHRedraw | win::kCsDblClks,
    "Quimbrel",
    win::kWsCaption | win::kWsSysMenu | win::kWsMinimizeBox | win::kWsClipChildren,
    0,
    270,
    271,
};

using enum ControlKind;

const std::array<ControlDef, 25> kControls = {{
    {"分组框1", GroupBox, 2001, "", 6, -3, 72, 220},
    {"分组框2", GroupBox, 2002, "", 85, -3, 96, 220},
    {"分组框3", GroupBox, 2003, "", 186, -3, 72, 220},
    {"按钮1", Button, 1001, "磁盘管理", 10, 9, 64, 24},
    {"按钮2", Button, 1002, "计事本", 190, 9, 64, 24},
    {"按钮3", Button, 1003, "任务管理器开", 89, 189, 88, 24},
    {"按钮4", Button, 1004, "DirectX信息", 89, 9, 88, 24},
    {"按钮5", Button, 1005, "画图面板", 190, 69, 64, 24},
    {"按钮6", Button, 1006, "屏幕键盘", 190, 99, 64, 24},
    {"按钮7", Button, 1007, "性能监视器", 89, 99, 88, 24},
    {"按钮8", Button, 1008, "计算器", 190, 39, 64, 24},
    {"按钮9", Button, 1009, "注册表", 190, 159, 64, 24},
    {"按钮10", Button, 1010, "远程桌面", 10, 189, 64, 24},
    {"按钮11", Button, 1011, "事件查看器 ", 89, 129, 88, 24},
    {"按钮12", Button, 1012, "命令提示符", 89, 69, 88, 24},
    {"按钮13", Button, 1013, "系统信息", 190, 189, 64, 24},
    {"按钮14", Button, 1014, "windows版本", 89, 39, 88, 24},
    {"按钮15", Button, 1015, "资源监视器", 89, 159, 88, 24},
    {"按钮16", Button, 1016, "组件服务", 10, 159, 64, 24},
    {"按钮17", Button, 1017, "辅助管理", 10, 99, 64, 24},
    {"按钮18", Button, 1018, "设备管理", 10, 69, 64, 24},
    {"按钮19", Button, 1019, "造字程序", 190, 129, 64, 24},
    {"按钮20", Button, 1020, "垃圾整理", 10, 129, 64, 24},
    {"按钮21", Button, 1021, "磁盘检查", 10, 39, 64, 24},
    {"时钟1关于", Timer, 3001, "", 80, 192, 8, 16},
}};

// 时钟1关于, 按钮21 down to 按钮1, then 分组框3, 分组框2, 分组框1: frames under every button.
const std::array<int, 25> kZOrder = {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12,
                                     11, 10, 9,  8,  7,  6,  5,  4,  3,  2,  1,  0};

using enum MenuAction;

const std::array<MenuItemDef, 12> kMenu = {{
    {0, "关机(G)", None, 0},
    {1, "注销(&L)", LogOff, 101},
    {1, "重新启动(&R)", Restart, 102},
    {1, "关机(&U)", ShutDown, 103},
    {0, "电脑(&D)", None, 0},
    {1, "我的电脑(&W)", MyComputer, 104},
    {1, "我的文档(&D)", MyDocuments, 105},
    {1, "控制面板(&B)", ControlPanel, 106},
    {0, "菜单(&H)", None, 0},
    {1, "升级", None, 0},
    {2, "检测升级", CheckForUpdate, 107},
    {1, "关于(&Y)", About, 108},
}};

const ControlDef* FindControlById(int32_t id) {
    for (const ControlDef& control : kControls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

const MenuItemDef* FindMenuItemByCommand(int32_t commandId) {
    if (commandId == 0) return nullptr;
    for (const MenuItemDef& item : kMenu) {
        if (item.commandId == commandId) return &item;
    }
    return nullptr;
}

int ButtonNumberFromId(int32_t id) {
    const int32_t number = id - kFirstButtonId;
    return number >= 1 && number <= kButtonCount ? number : 0;
}

Rect CentredWindowRect(int32_t screenWidth, int32_t screenHeight) {
    const int32_t left = (screenWidth - kMainWindow.outerWidth) / 2;
    const int32_t top = (screenHeight - kMainWindow.outerHeight) / 2;
    return {left, top, left + kMainWindow.outerWidth, top + kMainWindow.outerHeight};
}

}  // namespace qb

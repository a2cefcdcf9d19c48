#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/geometry.h"
#include "base/win32_values.h"

namespace qb {


enum class ControlKind { Button, GroupBox, Timer };

struct ControlDef {
    std::string_view name;  // the design name, 按钮1 ... 时钟1关于
    ControlKind kind;
    int32_t id;
    std::string_view caption;
    int32_t left, top, width, height;
};

enum class MenuAction {
    None,  // opens a drop-down or submenu
    LogOff,
    Restart,
    ShutDown,
    MyComputer,
    MyDocuments,
    ControlPanel,
    CheckForUpdate,
    About,
};

struct MenuItemDef {
    int32_t depth;  // 0 top-level, 1 item, 2 subitem; a popup's entries follow it
    std::string_view caption;
    MenuAction action;
    int32_t commandId;  // 0 for a popup
};

struct MainWindowDef {
    std::string_view className;
    uint32_t classStyle;
    std::string_view caption;
    uint32_t style;
    uint32_t exStyle;
    int32_t outerWidth;
    int32_t outerHeight;
};

extern const MainWindowDef kMainWindow;

constexpr int kButtonCount = 21;
constexpr int32_t kFirstButtonId = 1000;  // 按钮n has id 1000 + n
constexpr uint32_t kButtonStyle =
    win::kBsPushButton | win::kBsCenter | win::kBsVCenter | win::kBsMultiLine | win::kWsChild |
    win::kWsClipSiblings | win::kWsTabStop;
constexpr uint32_t kGroupBoxStyle = win::kBsGroupBox | win::kBsLeft | win::kWsChild | win::kWsClipSiblings;

// In creation order: the three frames, the twenty-one buttons, the timer.
extern const std::array<ControlDef, 25> kControls;

// The children's z-order from top to bottom, as indices into kControls.
extern const std::array<int, 25> kZOrder;

// The menu tree in the order its entries are appended.
extern const std::array<MenuItemDef, 12> kMenu;

const ControlDef* FindControlById(int32_t id);
const MenuItemDef* FindMenuItemByCommand(int32_t commandId);

// Number of a button (1 ... 21) from its id; 0 when the id is not a button's.
int ButtonNumberFromId(int32_t id);

// Centred on the primary screen, each quotient truncated toward zero.
Rect CentredWindowRect(int32_t screenWidth, int32_t screenHeight);

}  // namespace qb

#include "updater/updater_window_def.h"

namespace qb {

using namespace win;
using enum UpdaterControlKind;

const UpdaterWindowDef kUpdaterWindow = {
    "QuimbrelUpdater",
    "下载管理器",
    // No WS_CLIPCHILDREN: the etched frames draw only their edges, so the window paints under them.
    kWsCaption | kWsSysMenu | kWsMinimizeBox,
    538,
    222,
};

namespace {
constexpr uint32_t kHeader = kSsLeft | kSsNoPrefix | kSsCenterImage;
constexpr uint32_t kCell = kSsLeft | kSsNoPrefix | kSsCenterImage | kSsEndEllipsis;
constexpr uint32_t kCentredCell = kSsCenter | kSsNoPrefix | kSsCenterImage;

// Columns of the header and the row: name, size, progress (the bar or the operation label),
// speed, then the operations.
constexpr int32_t kNameX = 14, kNameW = 150;
constexpr int32_t kSizeX = 168, kSizeW = 76;
constexpr int32_t kProgressX = 248, kProgressW = 130;
constexpr int32_t kSpeedX = 382, kSpeedW = 72;
constexpr int32_t kOperationsX = 458, kOperationsW = 62;
constexpr int32_t kHeaderY = 12, kRowY = 34, kLineH = 18;
}  // namespace

const std::array<UpdaterControlDef, 15> kUpdaterControls = {{
    {"图片框1", Frame, 401, "", kSsEtchedFrame, true, std::nullopt, 6, 4, 520, 60},
    {"图片框2", Frame, 402, "", kSsEtchedFrame, true, std::nullopt, 6, 68, 520, 120},
    {"标签1任务名称", Label, 101, "任务名称", kHeader, true, std::nullopt, kNameX, kHeaderY, kNameW, kLineH},
    {"标签2任务大小", Label, 102, "任务大小", kHeader, true, std::nullopt, kSizeX, kHeaderY, kSizeW, kLineH},
    {"标签3下载进度", Label, 103, "下载进度", kHeader, true, std::nullopt, kProgressX, kHeaderY, kProgressW, kLineH},
    {"标签4下载速度", Label, 104, "下载速度", kHeader, true, std::nullopt, kSpeedX, kHeaderY, kSpeedW, kLineH},
    {"标签5相关操作", Label, 105, "相关操作", kHeader, true, std::nullopt, kOperationsX, kHeaderY, kOperationsW, kLineH},
    {"标签6名称", Label, 201, "", kCell, false, RowControl::Name, kNameX, kRowY, kNameW, kLineH},
    {"标签7大小", Label, 202, "", kCell, false, RowControl::Size, kSizeX, kRowY, kSizeW, kLineH},
    {"进度条1", ProgressBar, 203, "", kPbsSmooth, false, RowControl::Progress, kProgressX, kRowY + 1, kProgressW, kLineH - 2},
    {"标签8速度", Label, 204, "", kCell, false, RowControl::Speed, kSpeedX, kRowY, kSpeedW, kLineH},
    {"标签9操作", Label, 205, "", kCentredCell, false, RowControl::Operation, kProgressX, kRowY, kProgressW, kLineH},
    {"外形框1", Line, 206, "", kSsEtchedHorz, false, RowControl::Separator, kNameX, kRowY + kLineH + 4, 506, 2},
    {"编辑框1交互信息", LogBox, kLogBoxId, "", kEsMultiLine | kEsAutoVScroll | kEsReadOnly | kWsVScroll, true,
     std::nullopt, 12, 74, 508, 108},
    {"标签10反馈事件", Label, kFeedbackLabelId, "", kSsLeft, false, std::nullopt, 0, 0, 0, 0},
}};

const UpdaterControlDef* FindRowTemplate(RowControl control) {
    for (const UpdaterControlDef& def : kUpdaterControls) {
        if (def.rowTemplate == control) return &def;
    }
    return nullptr;
}

bool RowCopyStartsShown(RowControl control) { return control != RowControl::Progress; }

Point CentredOrigin(int32_t screenWidth, int32_t screenHeight) {
    const int32_t x = (screenWidth - kUpdaterWindow.outerWidth) / 2;
    const int32_t y = (screenHeight - kUpdaterWindow.outerHeight) / 2;
    return {x < 0 ? 0 : x, y < 0 ? 0 : y};
}

}  // namespace qb

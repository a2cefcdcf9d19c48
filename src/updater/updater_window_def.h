#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/geometry.h"
#include "base/win32_values.h"
#include "updater/updater_ports.h"

namespace qb {


enum class UpdaterControlKind { Label, ProgressBar, LogBox, Frame, Line };

struct UpdaterControlDef {
    std::string_view name;  // the design name, 标签1任务名称 ... 标签10反馈事件
    UpdaterControlKind kind;
    int32_t id;
    std::string_view caption;
    uint32_t style;  // besides WS_CHILD, and WS_VISIBLE for a shown control
    bool visible;
    std::optional<RowControl> rowTemplate;  // a hidden template of the task row
    int32_t left, top, width, height;
};

struct UpdaterWindowDef {
    std::string_view className;
    std::string_view caption;
    uint32_t style;
    int32_t outerWidth;
    int32_t outerHeight;
};

extern const UpdaterWindowDef kUpdaterWindow;

// In creation order, which is also the z-order from the bottom: the frames first. The
// archive extractor of the design, ZIP压缩1, is no window: it is UnpackVerified.
extern const std::array<UpdaterControlDef, 15> kUpdaterControls;

constexpr int32_t kLogBoxId = 301;
constexpr int32_t kFeedbackLabelId = 501;

// A row copy's id: the template's, shifted by the task.
constexpr int32_t RowControlId(int32_t templateId, int task) { return templateId + 1000 * task; }

const UpdaterControlDef* FindRowTemplate(RowControl control);

// Whether the copy of a template starts shown: the progress bar waits for the first data,
// as it shares its column with the operation label.
bool RowCopyStartsShown(RowControl control);

// Centred on the screen, never off its top-left corner.
Point CentredOrigin(int32_t screenWidth, int32_t screenHeight);

}  // namespace qb

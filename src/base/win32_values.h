#pragma once

#include <cstdint>

namespace qb {

// The Win32 values that the program's data (window definitions, box styles) is written in,
// for core code that never includes <windows.h>; each adapter checks the ones it uses
// against <windows.h> at compile time.
namespace win {
constexpr uint32_t kWsCaption = 0x00C00000;
constexpr uint32_t kWsSysMenu = 0x00080000;
constexpr uint32_t kWsMinimizeBox = 0x00020000;
constexpr uint32_t kWsClipChildren = 0x02000000;
constexpr uint32_t kWsClipSiblings = 0x04000000;
constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kWsTabStop = 0x00010000;
constexpr uint32_t kWsVScroll = 0x00200000;
constexpr uint32_t kWsExClientEdge = 0x00000200;
constexpr uint32_t kCsVRedraw = 0x0001;
constexpr uint32_t kCsHRedraw = 0x0002;
constexpr uint32_t kCsDblClks = 0x0008;
constexpr uint32_t kBsPushButton = 0x0000;
constexpr uint32_t kBsGroupBox = 0x0007;
constexpr uint32_t kBsLeft = 0x0100;
constexpr uint32_t kBsCenter = 0x0300;
constexpr uint32_t kBsVCenter = 0x0C00;
constexpr uint32_t kBsMultiLine = 0x2000;
constexpr uint32_t kSsLeft = 0x0000;
constexpr uint32_t kSsCenter = 0x0001;
constexpr uint32_t kSsEtchedHorz = 0x0010;
constexpr uint32_t kSsEtchedFrame = 0x0012;
constexpr uint32_t kSsNoPrefix = 0x0080;
constexpr uint32_t kSsCenterImage = 0x0200;
constexpr uint32_t kSsEndEllipsis = 0x4000;
constexpr uint32_t kEsMultiLine = 0x0004;
constexpr uint32_t kEsAutoVScroll = 0x0040;
constexpr uint32_t kEsReadOnly = 0x0800;
constexpr uint32_t kPbsSmooth = 0x01;
constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbOkCancel = 0x1;
constexpr uint32_t kMbIconError = 0x10;
constexpr uint32_t kMbIconInformation = 0x40;
constexpr uint32_t kMbTaskModal = 0x2000;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
}  // namespace win

}  // namespace qb

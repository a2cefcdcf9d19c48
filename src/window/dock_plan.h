#pragma once

#include <cstdint>
#include <vector>

#include "base/geometry.h"

namespace qb {

// What the dock tick measures and the window-procedure hook reads.
struct DockState {
    void* mainWindow = nullptr;          // HWND
    void* previousWindowProc = nullptr;  // WNDPROC
    int32_t stripWidth = 0;
    int32_t minTrackWidth = 0;
    int32_t minTrackHeight = 0;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    bool topmostApplied = false;
};

constexpr uint32_t kDockTimerId = 80911042;
constexpr int32_t kStripWidth = 1;
constexpr int32_t kMinTrackSize = 100;
constexpr int32_t kTaskbarHeightUnknown = 30;

struct DockTickInputs {
    Rect window;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    bool cursorKnown = false;  // when false the cursor counts as neither inside nor outside
    Point cursor;
    int32_t stripWidth = 0;
    int32_t dockJustShown = 0;
    bool topmostApplied = false;
};

enum class DockOpKind { MakeTopmost, MakeNotTopmost, Move };

// SetWindowPos into or out of the topmost band, or MoveWindow(x, y, width, height, FALSE).
struct DockOp {
    DockOpKind kind;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const DockOp&, const DockOp&) = default;
};

struct DockTickPlan {
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    int32_t dockJustShown = 0;
    bool topmostApplied = false;
    std::vector<DockOp> ops;  // in the order to perform them; empty when nothing moves
};

// One tick: the topmost rule, then a slide out (cursor inside, or just shown) or in.
DockTickPlan PlanDockTick(const DockTickInputs& in);

// Whether the cursor can change this tick's plan: only while the just-shown flag waits
// for it, or at an edge where a slide may start. The rest of the time the tick spares
// itself the cursor query, which is most of its cost.
bool DockTickNeedsCursor(const Rect& window, int32_t screenWidth, int32_t stripWidth, int32_t dockJustShown);

// The hook changes messages only once a tick has measured the window and the screen.
bool HookIsActive(const DockState& state);

// WM_MOVING: keeps a dragged rectangle inside the screen, stopping flush at the edges.
void ClampDragRect(Rect& rect, const DockState& state);

struct MinMaxInfo {
    Point reserved;
    Point maxSize;
    Point maxPosition;
    Point minTrackSize;
    Point maxTrackSize;
};

// WM_GETMINMAXINFO: 100 x 100 at least; at most the screen less the taskbar's height,
// but never less than the window's own size.
void ApplyTrackLimits(MinMaxInfo& info, const DockState& state, int32_t taskbarHeight);

}  // namespace qb

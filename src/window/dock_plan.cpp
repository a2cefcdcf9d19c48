#include "window/dock_plan.h"

#include <algorithm>

namespace qb {

namespace {

// n calls, the i-th placing the window at (x + i * dx, y + i * dy).
void Slide(std::vector<DockOp>& ops, const Rect& r, int32_t n, int32_t dx, int32_t dy) {
    if (n <= 0) return;
    ops.reserve(ops.size() + static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) {
        ops.push_back({DockOpKind::Move, r.left + i * dx, r.top + i * dy, r.Width(), r.Height()});
    }
}

}  // namespace

DockTickPlan PlanDockTick(const DockTickInputs& in) {
    const Rect& r = in.window;
    const int32_t s = in.stripWidth;
    const int32_t W = r.Width();
    const int32_t H = r.Height();
    DockTickPlan plan;
    plan.windowWidth = W;
    plan.windowHeight = H;
    plan.screenWidth = in.screenWidth;
    plan.screenHeight = in.screenHeight;
    plan.dockJustShown = in.dockJustShown;
    plan.topmostApplied = in.topmostApplied;

    const bool touching = r.left <= 0 || r.right >= in.screenWidth || r.top <= 0;
    if (touching && !plan.topmostApplied) {
        plan.ops.push_back({DockOpKind::MakeTopmost});
        plan.topmostApplied = true;
    } else if (!touching && plan.topmostApplied) {
        plan.ops.push_back({DockOpKind::MakeNotTopmost});
        plan.topmostApplied = false;
    }

    // A cursor that cannot be read is neither inside nor outside: no slide either way.
    if (!in.cursorKnown && plan.dockJustShown != 1) return plan;
    const bool inside = in.cursorKnown && r.left <= in.cursor.x && in.cursor.x <= r.right && r.top <= in.cursor.y &&
                        in.cursor.y <= r.bottom;

    if (plan.dockJustShown == 1 || inside) {
        if (inside) plan.dockJustShown = 0;
        bool slid = true;
        if (r.right == s) {
            Slide(plan.ops, r, W - s, +1, 0);
        } else if (r.left == in.screenWidth - s) {
            Slide(plan.ops, r, W - s, -1, 0);
        } else if (r.bottom == s) {
            Slide(plan.ops, r, H - s, 0, +1);
        } else {
            slid = false;
        }
        // The window now touches an edge again; the next tick makes it topmost anew.
        if (slid) plan.topmostApplied = false;
    } else if (r.left == 0) {
        Slide(plan.ops, r, W - s, -1, 0);
    } else if (r.right == in.screenWidth) {
        Slide(plan.ops, r, W - s, +1, 0);
    } else if (r.top == 0) {
        Slide(plan.ops, r, H - s, 0, -1);
    }
    return plan;
}

bool DockTickNeedsCursor(const Rect& r, int32_t screenWidth, int32_t s, int32_t dockJustShown) {
    return dockJustShown == 1 || r.right == s || r.left == screenWidth - s || r.bottom == s || r.left == 0 ||
           r.right == screenWidth || r.top == 0;
}

bool HookIsActive(const DockState& state) {
    return state.windowWidth > 0 && state.windowHeight > 0 && state.screenWidth > 0 && state.screenHeight > 0;
}

void ClampDragRect(Rect& rect, const DockState& state) {
    if (rect.left <= 0) {
        rect.left = 0;
        rect.right = state.windowWidth;
    }
    if (rect.right >= state.screenWidth) {
        rect.left = state.screenWidth - state.windowWidth;
        rect.right = state.screenWidth;
    }
    if (rect.top < 0) {
        rect.top = 0;
        rect.bottom = state.windowHeight;
    }
    if (rect.bottom > state.screenHeight) {
        rect.top = state.screenHeight - state.windowHeight;
        rect.bottom = state.screenHeight;
    }
}

void ApplyTrackLimits(MinMaxInfo& info, const DockState& state, int32_t taskbarHeight) {
    info.minTrackSize = {state.minTrackWidth, state.minTrackHeight};
    // Every MoveWindow clamps the window to these limits, so a limit below the window's
    // size (a side taskbar as tall as the screen) would squash it at the first slide.
    info.maxTrackSize = {std::max(state.screenWidth, state.windowWidth),
                         std::max(state.screenHeight - taskbarHeight, state.windowHeight)};
}

}  // namespace qb

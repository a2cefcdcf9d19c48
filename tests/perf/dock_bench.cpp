// The dock tick runs every 10 ms for the whole run: what one tick that moves nothing
// costs, beside a reference that only copies its inputs.
#include <benchmark/benchmark.h>

#include "window/dock_plan.h"

namespace {

qb::DockTickInputs FreeWindow() {
    qb::DockTickInputs in;
    in.window = {377, 248, 647, 519};
    in.screenWidth = 1024;
    in.screenHeight = 768;
    in.cursorKnown = true;
    in.cursor = {500, 380};
    in.stripWidth = qb::kStripWidth;
    return in;
}

void PlanDockTickNothingMoves(benchmark::State& state) {
    qb::DockTickInputs in = FreeWindow();
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        qb::DockTickPlan plan = qb::PlanDockTick(in);
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(PlanDockTickNothingMoves);

void ReferenceCopyInputs(benchmark::State& state) {
    qb::DockTickInputs in = FreeWindow();
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        qb::DockTickInputs copy = in;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(ReferenceCopyInputs);

}  // namespace

BENCHMARK_MAIN();

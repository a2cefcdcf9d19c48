#pragma once

#include <cstdint>

namespace qb {

struct TimerPeriodChange {
    int32_t period;  // the period from now on
    bool stop;       // KillTimer first
    bool start;      // then SetTimer with the new period
};

// A negative period counts as 0 (stopped); the same period changes nothing, so a
// running timer keeps its rhythm.
TimerPeriodChange PlanTimerPeriod(int32_t current, int32_t requested);

}  // namespace qb

#include "app/timer_period.h"

namespace qb {

TimerPeriodChange PlanTimerPeriod(int32_t current, int32_t requested) {
    const int32_t period = requested < 0 ? 0 : requested;
    if (period == current) return {current, false, false};
    return {period, current > 0, period > 0};
}

}  // namespace qb

#include "base/exit_cleanup.h"

#include <utility>

namespace qb {

void ExitCleanup::RunAll() {
    // Taken out first: a routine that registers another or ends the process does not
    // make this loop walk a changing list.
    std::vector<Routine> pending = std::exchange(routines_, {});
    for (Routine routine : pending) routine();
}

ExitCleanup& ProcessExitCleanup() {
    static ExitCleanup cleanup;
    return cleanup;
}

}  // namespace qb

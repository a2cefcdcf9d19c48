#pragma once

#include <vector>

namespace qb {

// Routines that run once, in registration order, on whichever path ends the process.
class ExitCleanup {
public:
    using Routine = void (*)();

    void Register(Routine routine) { routines_.push_back(routine); }

    // Runs every routine registered so far and forgets it, so a second call (the normal
    // exit after an EndProgram that was interrupted, say) never runs one twice.
    void RunAll();

private:
    std::vector<Routine> routines_;
};

ExitCleanup& ProcessExitCleanup();

}  // namespace qb

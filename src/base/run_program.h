#pragma once

#include "base/text.h"

namespace qb {

// Starts a command line shown normally, waits at most a second for it to become idle
// and closes both handles at once. Never waits for the program to end.
bool RunProgram(const Text& commandLine);

}  // namespace qb

#pragma once

#include <windows.h>

namespace qb {

// The whole run of Quimbrel.exe: start-up, message loop, exit clean-up. The exit code.
int RunQuimbrel(HINSTANCE instance);

}  // namespace qb

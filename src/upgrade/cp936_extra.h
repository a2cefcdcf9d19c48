#pragma once

#include <cstdint>
#include <span>

namespace qb {

// Characters that Windows converts to code page 936 (user-defined areas, best-fit forms) and
// the host's iconv tables do not: the host converter adds them so it gives what Windows gives.
struct Cp936Run {
    char16_t first;  // first character of the run
    uint16_t count;  // characters in the run
    uint16_t code;   // code of the first: one byte below 0x100, else lead byte * 256 + trail byte
};

std::span<const Cp936Run> Cp936ExtraRuns();

// The code of a character in the runs, or -1 when it is not in them.
int Cp936ExtraCode(char16_t unit);

}  // namespace qb

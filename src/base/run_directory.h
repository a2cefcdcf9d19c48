#pragma once

#include "base/text.h"

namespace qb {

struct ExecutablePathParts {
    Text runDirectory;    // up to, not including, the last backslash; empty when there is none
    Text executableName;  // after the last backslash; the whole path when there is none
};

// Splits at the last backslash, walking character by character so that the trail byte
// of a double-byte character (which may be 0x5C) is never taken for a backslash.
ExecutablePathParts SplitExecutablePath(std::string_view path, LeadByteTest isLeadByte);

}  // namespace qb

#pragma once

#include <cstddef>
#include <string>

#include "base/text.h"

namespace qb {

// No manifest comes near this; a server that sends more is cut off here rather than
// allowed to fill the 32-bit process.
inline constexpr size_t kHttpBodyCap = 8u << 20;

// The body of one HTTP GET, every byte received (up to kHttpBodyCap) whatever the status;
// empty when nothing arrived. The URL's fragment is never sent.
std::string HttpGetFile(const Text& url);

}  // namespace qb

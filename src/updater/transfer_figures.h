#pragma once

#include <cstdint>
#include <optional>

#include "base/text.h"

namespace qb {

// The total in thousands of bytes, rounded to two decimals, trailing zeros dropped, then
// "K": 1234567 -> "1234.57K", 1500 -> "1.5K", 1000 -> "1K". Empty while the total is unknown.
Text FormatSizeLabel(std::optional<uint64_t> totalBytes);

// The bytes of the last second in thousands with exactly two decimals, then "KB/s".
Text FormatSpeedLabel(uint64_t bytesSinceLastQuery);

// received * 100 / total, cut to a whole number, in 64 bits and never above 100; 0 while the
// total is unknown or zero.
int ProgressPercent(uint64_t receivedBytes, std::optional<uint64_t> totalBytes);

}  // namespace qb

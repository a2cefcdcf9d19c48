#pragma once

#include <string_view>

namespace qb {

// How far above the running version a manifest's version must be to count as newer.
inline constexpr double kNewerVersionThreshold = 0.0000001;

// The leading decimal number of a text, full-width digits, signs and point read as their
// ASCII forms; 0 when there is none. The point is always '.', whatever the locale, and
// hexadecimal, "inf" and "nan" are not numbers here.
double TextToNumber(std::string_view text);

// Whether the version text is more than kNewerVersionThreshold above programVersion.
bool IsNewerVersion(std::string_view versionText, double programVersion);

}  // namespace qb

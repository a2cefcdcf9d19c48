#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace qb {

// Quimbrel proves that it started us with this exact first argument.
inline constexpr std::string_view kStartToken = "启动凭据";
inline constexpr size_t kMinimumArgumentCount = 6;

// The command line as GetCommandLineA gives it, without the program's own path. White space
// never makes an empty argument, a quoted "" does, and a byte of 0x80 or above always takes
// the byte after it, so the trail byte of a two-byte character never ends an argument.
std::vector<Text> SplitArguments(std::string_view commandLine);

// What the updater uses of its arguments, by their positions 2, 3 and 5.
struct UpdaterArguments {
    Text address;
    Text title;
    Text programName;
};

// Empty when there are fewer than six arguments or the first is not the start token.
std::optional<UpdaterArguments> ReadUpdaterArguments(const std::vector<Text>& arguments);

}  // namespace qb

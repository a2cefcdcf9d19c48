#include "updater/arguments.h"

namespace qb {

namespace {

constexpr char kQuote = '"';

bool IsBlank(unsigned char byte) { return byte <= 0x20; }

// The next index after the character at i: two bytes from 0x80 up, never past the end.
size_t NextCharacter(std::string_view text, size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    return (byte >= 0x80 && i + 1 < text.size()) ? i + 2 : i + 1;
}

size_t SkipProgramPath(std::string_view line) {
    if (line.empty()) return 0;
    size_t i = 0;
    if (line[0] == kQuote) {
        const size_t close = line.find(kQuote, 1);
        if (close == std::string_view::npos) return line.size();
        i = close + 1;
        if (i < line.size() && line[i] == ' ') ++i;
        return i;
    }
    const size_t space = line.find(' ');
    return space == std::string_view::npos ? line.size() : space + 1;
}

}  // namespace

std::vector<Text> SplitArguments(std::string_view line) {
    std::vector<Text> arguments;
    size_t i = SkipProgramPath(line);
    while (i < line.size()) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == kQuote) {
            size_t end = i + 1;
            while (end < line.size() && line[end] != kQuote) end = NextCharacter(line, end);
            arguments.emplace_back(line.substr(i + 1, end - i - 1));
            i = end < line.size() ? end + 1 : end;
        } else if (!IsBlank(byte)) {
            size_t end = i;
            while (end < line.size() && !IsBlank(static_cast<unsigned char>(line[end])) && line[end] != kQuote) {
                end = NextCharacter(line, end);
            }
            arguments.emplace_back(line.substr(i, end - i));
            i = end;
        } else {
            ++i;
        }
    }
    return arguments;
}

std::optional<UpdaterArguments> ReadUpdaterArguments(const std::vector<Text>& arguments) {
    if (arguments.size() < kMinimumArgumentCount || arguments[0] != kStartToken) return std::nullopt;
    return UpdaterArguments{arguments[1], arguments[2], arguments[4]};
}

}  // namespace qb

#include "base/run_directory.h"

namespace qb {

ExecutablePathParts SplitExecutablePath(std::string_view path, LeadByteTest isLeadByte) {
    size_t lastBackslash = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (byte == '\\') {
            lastBackslash = i;
        } else if (isLeadByte(byte) && i + 1 < path.size()) {
            ++i;
        }
    }
    if (lastBackslash == std::string_view::npos) return {Text(), Text(path)};
    return {Text(path.substr(0, lastBackslash)), Text(path.substr(lastBackslash + 1))};
}

}  // namespace qb

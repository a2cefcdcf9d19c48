#include "updater/file_names.h"

#include <array>

namespace qb {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsTrailByte(unsigned char byte) { return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE); }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

// Windows opens the device whatever extension follows and whatever dots or spaces trail.
bool IsDeviceName(std::string_view component) {
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    static constexpr std::array<std::string_view, 7> kFixed = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (std::string_view name : kFixed) {
        if (EqualsIgnoringCase(base, name)) return true;
    }
    if (base.size() == 4 && base[3] >= '0' && base[3] <= '9') {
        const std::string_view stem = base.substr(0, 3);
        return EqualsIgnoringCase(stem, "COM") || EqualsIgnoringCase(stem, "LPT");
    }
    return false;
}

NameFault CheckComponent(std::string_view component) {
    if (component.empty()) return NameFault::EmptyComponent;
    if (component.find_first_not_of(". ") == std::string_view::npos) return NameFault::DotComponent;
    if (component.back() == '.' || component.back() == ' ') return NameFault::TrailingDotOrSpace;
    if (IsDeviceName(component)) return NameFault::Device;
    return NameFault::None;
}

// Cuts the name into components and checks every byte on the way; components keep their
// two-byte characters whole.
NameFault SplitChecked(std::string_view name, std::vector<Text>& components, bool& endsWithSeparator) {
    Text current;
    endsWithSeparator = false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x81 && byte <= 0xFE) {
            if (i + 1 >= name.size() || !IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
                return NameFault::BadEncoding;
            }
            current += c;
            current += name[++i];
            endsWithSeparator = false;
            continue;
        }
        if (byte == 0xFF) return NameFault::BadEncoding;
        if (IsSeparator(c)) {
            components.push_back(current);
            current.clear();
            endsWithSeparator = true;
            continue;
        }
        if (c == ':') return NameFault::Colon;
        if (byte < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') {
            return NameFault::BadCharacter;
        }
        current += c;
        endsWithSeparator = false;
    }
    if (!endsWithSeparator) components.push_back(current);
    return NameFault::None;
}

}  // namespace

CheckedPath CheckRelativePath(std::string_view name) {
    CheckedPath result;
    if (name.empty()) {
        result.fault = NameFault::Empty;
        return result;
    }
    if (IsSeparator(name.front())) {
        result.fault = NameFault::Absolute;
        return result;
    }
    result.fault = SplitChecked(name, result.components, result.isFolder);
    if (result.fault != NameFault::None) return result;
    for (const Text& component : result.components) {
        result.fault = CheckComponent(component);
        if (result.fault != NameFault::None) return result;
    }
    return result;
}

NameFault CheckBareFileName(std::string_view name) {
    const CheckedPath path = CheckRelativePath(name);
    if (path.fault != NameFault::None) return path.fault;
    if (path.isFolder || path.components.size() != 1) return NameFault::Separator;
    return NameFault::None;
}

bool EndsWithBackslash(std::string_view text) {
    bool last = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        last = byte == '\\';
        if (IsCp936LeadByte(byte) && i + 1 < text.size()) ++i;
    }
    return last;
}

Text JoinComponents(const Text& folder, const std::vector<Text>& components, size_t count) {
    Text path = folder;
    for (size_t i = 0; i < count && i < components.size(); ++i) {
        if (!path.empty() && !EndsWithBackslash(path)) path += '\\';
        path += components[i];
    }
    return path;
}

Text JoinComponents(const Text& folder, const std::vector<Text>& components) {
    return JoinComponents(folder, components, components.size());
}

std::string_view DescribeNameFault(NameFault fault) {
    switch (fault) {
        case NameFault::None: return "正常";
        case NameFault::Empty: return "名称为空";
        case NameFault::Absolute: return "绝对路径";
        case NameFault::Colon: return "含有盘符或冒号";
        case NameFault::DotComponent: return "含有“..”或“.”路径";
        case NameFault::EmptyComponent: return "含有空的路径段";
        case NameFault::TrailingDotOrSpace: return "以点或空格结尾";
        case NameFault::Device: return "设备名称";
        case NameFault::BadCharacter: return "含有非法字符";
        case NameFault::BadEncoding: return "编码无效";
        case NameFault::Separator: return "不是单纯的文件名";
        case NameFault::Outside: return "位于解压目录之外";
    }
    return "未知";
}

}  // namespace qb

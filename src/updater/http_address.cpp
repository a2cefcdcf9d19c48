#include "updater/http_address.h"

namespace qb {

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::optional<uint16_t> ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    uint32_t port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + static_cast<uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535) return std::nullopt;
    return static_cast<uint16_t>(port);
}

}  // namespace

std::optional<HttpAddress> ParseHttpAddress(std::string_view address) {
    HttpAddress result;
    if (StartsWithIgnoringCase(address, "http://")) {
        address.remove_prefix(7);
        result.port = 80;
    } else if (StartsWithIgnoringCase(address, "https://")) {
        address.remove_prefix(8);
        result.secure = true;
        result.port = 443;
    } else {
        return std::nullopt;
    }
    address = address.substr(0, address.find('#'));
    const size_t authorityEnd = address.find_first_of("/?");
    std::string_view authority = address.substr(0, authorityEnd);
    std::string_view target = authorityEnd == std::string_view::npos ? std::string_view() : address.substr(authorityEnd);
    // Credentials in the address are not ours to send anywhere.
    if (authority.find('@') != std::string_view::npos) return std::nullopt;

    std::string_view host = authority;
    std::string_view port;
    if (!authority.empty() && authority.front() == '[') {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = authority.substr(1, close - 1);
        const std::string_view rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return std::nullopt;
            port = rest.substr(1);
        }
    } else if (const size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (host.empty()) return std::nullopt;
    if (!port.empty()) {
        const auto parsed = ParsePort(port);
        if (!parsed) return std::nullopt;
        result.port = *parsed;
    } else if (authority.back() == ':') {
        return std::nullopt;
    }
    result.host = Text(host);
    result.target = target.empty() ? Text("/") : target.front() == '?' ? "/" + Text(target) : Text(target);
    return result;
}

std::optional<uint64_t> ParseContentLength(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    if (value.empty()) return std::nullopt;
    uint64_t length = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<uint64_t>(c - '0');
        if (length > (UINT64_MAX - digit) / 10) return std::nullopt;
        length = length * 10 + digit;
    }
    return length;
}

}  // namespace qb

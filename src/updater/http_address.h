#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/text.h"

namespace qb {

struct HttpAddress {
    bool secure = false;
    Text host;
    uint16_t port = 0;
    Text target;  // path and query as sent in the request line; never the fragment
};

// http:// or https://, a host (a bracketed IPv6 address too), an optional port, then the
// path. A fragment (from "#") belongs to the reader of the page and is dropped here.
std::optional<HttpAddress> ParseHttpAddress(std::string_view address);

// A Content-Length header value: decimal digits only, in 64 bits.
std::optional<uint64_t> ParseContentLength(std::string_view value);

}  // namespace qb

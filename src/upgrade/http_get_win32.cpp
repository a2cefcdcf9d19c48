#include <windows.h>
#include <wininet.h>

#include "upgrade/http_get.h"

namespace qb {

namespace {

// Opened at the first request and kept for the rest of the run on purpose; when it
// cannot be opened, the next request tries again.
HINTERNET g_internet = nullptr;

class InetHandle {
public:
    explicit InetHandle(HINTERNET handle) : handle_(handle) {}
    ~InetHandle() {
        if (handle_) InternetCloseHandle(handle_);
    }
    InetHandle(const InetHandle&) = delete;
    InetHandle& operator=(const InetHandle&) = delete;
    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;  // 0x84000000
static_assert(kRequestFlags == 0x84000000);

}  // namespace

std::string HttpGetFile(const Text& url) {
    std::string body;
    if (url.empty()) return body;
    const Text address = url.substr(0, url.find('#'));

    char scheme[32] = {}, host[256] = {}, user[128] = {}, password[128] = {}, path[2048] = {}, extra[2048] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszScheme = scheme;
    parts.dwSchemeLength = sizeof(scheme);
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof(host);
    parts.lpszUserName = user;
    parts.dwUserNameLength = sizeof(user);
    parts.lpszPassword = password;
    parts.dwPasswordLength = sizeof(password);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof(path);
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = sizeof(extra);
    if (!InternetCrackUrlA(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts)) return body;

    if (!g_internet) {
        g_internet = InternetOpenA("Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)", INTERNET_OPEN_TYPE_PRECONFIG,
                                   nullptr, nullptr, 0);
        if (!g_internet) return body;
    }
    InetHandle connection(InternetConnectA(g_internet, host, parts.nPort, user, password, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return body;

    const Text object = Text(path) + extra;
    const char* acceptTypes[] = {"Accept: */* \r\n", nullptr};
    const DWORD flags = kRequestFlags | (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
    InetHandle request(HttpOpenRequestA(connection.get(), "GET", object.empty() ? "/" : object.c_str(), "HTTP/1.0",
                                        nullptr, acceptTypes, flags, 0));
    if (!request) return body;
    static const char kExtraHeaders[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request.get(), kExtraHeaders, static_cast<DWORD>(sizeof(kExtraHeaders) - 1), nullptr, 0)) {
        return body;
    }
    char buffer[16384];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer, sizeof(buffer), &read) || read == 0) break;
        const size_t room = kHttpBodyCap - body.size();
        body.append(buffer, read < room ? read : room);
        if (body.size() >= kHttpBodyCap) break;
    }
    return body;
}

}  // namespace qb

#include "web/request_target.h"

#include <algorithm>

#include "core/text_rules.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

constexpr int kHighestPort = 65535;
constexpr int kDefaultHttpPort = 80;

bool IsControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsHostNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
}

// Anything else, such as a query that follows the host without a "/", would let libcurl read
// a different host out of the address than the one taken here.
bool IsHostName(const Text& host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), IsHostNameChar);
}

// A space would break the request line apart; every other byte goes out as the address has it.
Text ObjectOf(const Text& url) {
    return ReplaceText(UrlPath(url), " ", "%20");
}

std::string SchemeOf(bool secure) {
    return secure ? "https" : "http";
}

std::string AbsoluteObject(const Text& host, int port, const Text& object) {
    const std::string portPart = port == kDefaultHttpPort ? "" : ":" + std::to_string(port);
    return SchemeOf(false) + "://" + host + portPart + object;
}

// The address's first eight bytes, lower-cased, decide.
bool IsSecureUrl(const Text& url) {
    return LowerAscii(url.substr(0, 8)) == "https://";
}

} // namespace

std::optional<RequestTarget> TargetFor(const Text& url, bool throughProxy) {
    const Text host = UrlHost(url, false);
    const int port = UrlPort(url);
    if (std::any_of(url.begin(), url.end(), IsControlByte) || !IsHostName(host) || port < 1 ||
        port > kHighestPort) {
        return std::nullopt;
    }
    const bool secure = IsSecureUrl(url);
    const Text object = ObjectOf(url);
    RequestTarget target;
    target.curlUrl = SchemeOf(secure) + "://" + host + ":" + std::to_string(port) + object;
    // HTTPS through a proxy goes in a tunnel, where the request line is the origin's own.
    target.object = throughProxy && !secure ? AbsoluteObject(host, port, object) : object;
    return target;
}

} // namespace quill

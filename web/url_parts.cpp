#include <algorithm>
#include <cctype>

#include "core/text_rules.h"
#include "web/fetch_page.h"
#include "web/header_text.h"

namespace quill {
namespace {

constexpr int kPortCeiling = 1000000; // far above any port; keeps the value from overflowing
const Text kSecureScheme = "https://";
const Text kPlainScheme = "http://";

bool StartsWith(const Text& text, const Text& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The leading whole number of a text as a C library would read it: white space skipped, an
// optional sign, then digits; 0 without digits.
int LeadingInteger(const Text& text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    int sign = 1;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        sign = text[at] == '-' ? -1 : 1;
        ++at;
    }
    int value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        value = std::min(value * 10 + (text[at] - '0'), kPortCeiling);
    }
    return sign * value;
}

// 1-based position where UrlHost took the host from. Searching for the host name itself would
// find a host such as "h" or "s" inside the scheme and send the scheme as part of the path.
int HostStart(const Text& url) {
    const Text address = LowerAscii(url);
    if (StartsWith(address, kSecureScheme)) {
        return static_cast<int>(kSecureScheme.size()) + 1;
    }
    const int scheme = FindText(address, kPlainScheme);
    return scheme == -1 ? 1 : scheme + static_cast<int>(kPlainScheme.size());
}

} // namespace

Text UrlHost(const Text& url, bool keepPort) {
    Text address = LowerAscii(url);
    if (address.empty() || address.back() != '/') {
        address += '/';
    }
    Text host;
    if (StartsWith(address, kSecureScheme)) {
        host = TextBetween(address, kSecureScheme, "/");
    } else {
        if (!ContainsText(address, kPlainScheme)) {
            address = kPlainScheme + address;
        }
        host = TextBetween(address, kPlainScheme, "/");
    }
    if (keepPort) {
        return host;
    }
    return host.substr(0, host.find(':'));
}

int UrlPort(const Text& url) {
    const Text host = UrlHost(url, true);
    const std::size_t colon = host.rfind(':');
    if (colon != Text::npos) {
        return LeadingInteger(host.substr(colon + 1));
    }
    return StartsWith(LowerAscii(url), "https") ? 443 : 80;
}

Text UrlPath(const Text& url) {
    const int slash = FindText(url, "/", HostStart(url));
    return slash == -1 ? Text("/") : url.substr(slash - 1);
}

} // namespace quill

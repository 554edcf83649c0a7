#pragma once

#include <optional>
#include <string>

#include "core/text.h"

namespace quill {

// Where one request goes and the object its request line names.
struct RequestTarget {
    // Scheme, host, port and path for libcurl: the connection, and the base against which
    // cookies and relative redirects are taken.
    std::string curlUrl;
    // The request line's object exactly as sent; the absolute address when a proxy carries
    // plain HTTP.
    std::string object;
};

// Nothing when the address cannot be sent safely: control bytes, a host that is no host name,
// or a port outside 1..65535.
std::optional<RequestTarget> TargetFor(const Text& url, bool throughProxy);

} // namespace quill

#pragma once

#include <string>

#include "core/text.h"

namespace quill {

enum class Method { Get, Post, Head };

// One request as FetchPage has prepared it.
struct TransferRequest {
    Method method = Method::Get;
    Text url;
    Text headerBlock; // sent verbatim, line by line
    Text agent;
    Bytes body; // POST only
    Text proxy;
    bool followRedirects = true;
    bool useCookieStore = true;
};

struct TransferResult {
    bool ok = false;
    Bytes body;
    std::string rawHeaders; // the final response's status line and header lines
};

// Runs the request within the current FetchLimits. A failed request, or one that hits a bound,
// gives a result that is not ok and holds nothing.
TransferResult RunTransfer(const TransferRequest& request);

} // namespace quill

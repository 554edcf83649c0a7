#pragma once

#include <cstddef>
#include <string>

#include "core/text.h"

namespace quill {

// Optional arguments of FetchPage. A null pointer is an omitted in/out argument.
struct FetchArgs {
    int method = 0; // 0 GET, 1 POST, 2 HEAD; anything else counts as 0
    Text postText;
    Text* cookies = nullptr; // omitted: the process-wide cookie store is used
    Text* responseCookies = nullptr;
    Text* headers = nullptr; // extra lines in; the whole block sent out
    Text* responseHeaders = nullptr;
    bool noRedirect = false;
    Bytes* postBytes = nullptr;
    Text proxy; // host:port, empty for a direct connection
    bool mergeCookies = true;
};

// One HTTP(S) request; the body exactly as received, empty on any failure.
Bytes FetchPage(const Text& url, const FetchArgs& args = {});

Text UrlHost(const Text& url, bool keepPort);
int UrlPort(const Text& url);
Text UrlPath(const Text& url);

// Bounds that keep a stalled or hostile server from holding a caller for ever.
struct FetchLimits {
    long connectTimeoutMs = 30000;
    long stallTimeoutMs = 30000; // no byte received for this long ends the request
    long maxRedirects = 20;
    std::size_t maxBodyBytes = 64u << 20;
    std::string caFile;           // empty: the system's authorities; tests name their own
    bool reuseConnections = true; // off only to measure what reuse saves
};
void SetFetchLimits(const FetchLimits& limits);
FetchLimits CurrentFetchLimits();

// Sets up the HTTP library; call once at start-up before any thread fetches.
void InitWeb();

} // namespace quill

#include "web/curl_transfer.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string_view>
#include <vector>

#include "core/text_rules.h"
#include "web/cookie_store.h"
#include "web/curl_session.h"
#include "web/fetch_page.h"
#include "web/request_target.h"

namespace quill {
namespace {

using curl::CookieMode;
using curl::Slist;

// Left empty, these keep libcurl from adding headers of its own that the block does not hold.
const std::vector<std::string> kSuppressedCurlHeaders = {
    "Accept:", "Expect:", "Content-Type:", "Proxy-Connection:"};

using Clock = std::chrono::steady_clock;

// What the response hands back while a hop runs, and when a byte last moved.
struct ResponseSink {
    std::size_t maxBodyBytes = 0;
    std::chrono::milliseconds stallBound{0};
    Bytes body;
    std::string rawHeaders;
    Clock::time_point lastActivity;
    curl_off_t uploaded = 0;

    void restart() {
        body.clear();
        rawHeaders.clear();
        lastActivity = Clock::now();
        uploaded = 0;
    }
};

// One request of a redirect chain.
struct Hop {
    std::string curlUrl;
    std::string object; // empty: the object libcurl takes from curlUrl
    Method method = Method::Get;
};

std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* sinkPointer) {
    auto& sink = *static_cast<ResponseSink*>(sinkPointer);
    const std::size_t length = size * count;
    if (length > sink.maxBodyBytes - sink.body.size()) {
        return 0; // ends the transfer as a failure
    }
    sink.lastActivity = Clock::now();
    sink.body.insert(sink.body.end(), data, data + length);
    return length;
}

std::size_t CollectHeader(char* data, std::size_t size, std::size_t count, void* sinkPointer) {
    auto& sink = *static_cast<ResponseSink*>(sinkPointer);
    const std::string_view line(data, size * count);
    // A status line starts another response: an interim one, or a proxy's answer to CONNECT.
    if (line.starts_with("HTTP/")) {
        sink.rawHeaders.clear();
    }
    sink.rawHeaders.append(line);
    sink.lastActivity = Clock::now();
    return line.size();
}

// libcurl asks at least once a second; a non-zero answer ends the transfer as a failure.
int WatchForStall(void* sinkPointer, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
    auto& sink = *static_cast<ResponseSink*>(sinkPointer);
    const Clock::time_point now = Clock::now();
    if (uploaded != sink.uploaded) {
        sink.uploaded = uploaded;
        sink.lastActivity = now;
    }
    return now - sink.lastActivity > sink.stallBound ? 1 : 0;
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// libcurl drops a header line whose value is empty unless it is written "Name;".
std::string CurlFormOf(const std::string& line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || !TrimText(line.substr(colon + 1)).empty()) {
        return line;
    }
    return line.substr(0, colon) + ";";
}

// Every line of the block in order. A stray CR or LF also ends a line and blank lines are left
// out, so no caller text can end the header section early or smuggle a second request.
std::vector<std::string> CurlHeaderLines(const Text& block) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : block + "\n") {
        if (!IsLineBreak(c)) {
            line += c;
        } else if (!line.empty()) {
            lines.push_back(CurlFormOf(line));
            line.clear();
        }
    }
    lines.insert(lines.end(), kSuppressedCurlHeaders.begin(), kSuppressedCurlHeaders.end());
    return lines;
}

// The agent travels as a header line of its own, so it keeps only its first line.
std::string SingleLine(const Text& text) {
    return text.substr(0, std::min(text.find('\r'), text.find('\n')));
}

void SetBounds(CURL* handle, const FetchLimits& limits) {
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(limits.maxBodyBytes));
    if (!limits.reuseConnections) {
        curl_easy_setopt(handle, CURLOPT_FRESH_CONNECT, 1L);
        curl_easy_setopt(handle, CURLOPT_FORBID_REUSE, 1L);
    }
}

void SetSecurity(CURL* handle, const FetchLimits& limits) {
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!limits.caFile.empty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, limits.caFile.c_str());
    }
}

// An empty proxy text also keeps libcurl from taking one from the environment.
void SetProxy(CURL* handle, const std::string& proxy) {
    curl_easy_setopt(handle, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "");
}

void SetSink(CURL* handle, ResponseSink& sink) {
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &CollectBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &CollectHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &sink);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &WatchForStall);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &sink);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
}

// Options that hold for every hop. The strings handed over must outlive the transfer.
void SetRequestOptions(CURL* handle, const curl_slist* headers, const std::string& agent,
                       const std::string& proxy) {
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, agent.c_str());
    // The body is handed back exactly as received.
    curl_easy_setopt(handle, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    SetProxy(handle, proxy);
}

void SetMethod(CURL* handle, Method method, const Bytes& body) {
    switch (method) {
    case Method::Get:
        curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
        break;
    case Method::Post:
        curl_easy_setopt(handle, CURLOPT_POST, 1L);
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        // Never null: a null body would make libcurl read one from standard input.
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS,
                         body.empty() ? static_cast<const void*>("") : body.data());
        break;
    case Method::Head:
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
        break;
    }
}

void SetHop(CURL* handle, const Hop& hop, const Bytes& body) {
    curl_easy_setopt(handle, CURLOPT_URL, hop.curlUrl.c_str());
    curl_easy_setopt(handle, CURLOPT_REQUEST_TARGET,
                     hop.object.empty() ? nullptr : hop.object.c_str());
    SetMethod(handle, hop.method, body);
}

// Browsers turn a POST into a GET after 301, 302 and 303; 307 and 308 keep it.
Method MethodAfterRedirect(Method method, long status) {
    const bool becomesGet = status == 301 || status == 302 || status == 303;
    return method == Method::Post && becomesGet ? Method::Get : method;
}

// The next hop when the response is a redirect; libcurl resolves the Location against the
// address just fetched.
std::optional<Hop> RedirectOf(CURL* handle, Method method) {
    long status = 0;
    char* location = nullptr;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(handle, CURLINFO_REDIRECT_URL, &location);
    if (status < 300 || status > 399 || location == nullptr) {
        return std::nullopt;
    }
    return Hop{location, {}, MethodAfterRedirect(method, status)};
}

// Redirects are followed here rather than by libcurl, because libcurl would send the first
// hop's verbatim object to every later hop too.
bool PerformHops(CURL* handle, Hop hop, const TransferRequest& request, ResponseSink& sink,
                 long maxRedirects) {
    for (long redirects = 0;; ++redirects) {
        sink.restart();
        SetHop(handle, hop, request.body);
        if (curl_easy_perform(handle) != CURLE_OK) {
            return false;
        }
        std::optional<Hop> next = RedirectOf(handle, hop.method);
        if (!request.followRedirects || !next) {
            return true;
        }
        if (redirects >= maxRedirects) {
            return false;
        }
        hop = std::move(*next);
    }
}

// The store's cookies go into the handle before the transfer; the ones the handle holds
// afterwards go back.
class StoreCookies final {
  public:
    explicit StoreCookies(CURL* handle) : m_handle(handle), m_before(StoredCookies()) {
        // A cookie line switches the handle's cookie engine on. A cookie file name would too,
        // but libcurl loses that name's memory on curl_easy_reset.
        curl_easy_setopt(handle, CURLOPT_COOKIELIST, "Set-Cookie: engine=on");
        curl_easy_setopt(handle, CURLOPT_COOKIELIST, "ALL");
        for (const std::string& line : m_before) {
            curl_easy_setopt(handle, CURLOPT_COOKIELIST, line.c_str());
        }
    }
    ~StoreCookies() { UpdateStoredCookies(m_before, handleCookies()); }
    StoreCookies(const StoreCookies&) = delete;
    StoreCookies& operator=(const StoreCookies&) = delete;

  private:
    std::vector<std::string> handleCookies() const {
        curl_slist* list = nullptr;
        curl_easy_getinfo(m_handle, CURLINFO_COOKIELIST, &list);
        const Slist owned(list);
        return curl::LinesOf(owned.get());
    }

    CURL* m_handle;
    std::vector<std::string> m_before;
};

bool Transfer(CURL* handle, const RequestTarget& target, const TransferRequest& request,
              ResponseSink& sink) {
    const FetchLimits limits = CurrentFetchLimits();
    Slist headers;
    if (!curl::AppendLines(headers, CurlHeaderLines(request.headerBlock))) {
        return false;
    }
    const std::string agent = SingleLine(request.agent);
    sink.maxBodyBytes = limits.maxBodyBytes;
    sink.stallBound = std::chrono::milliseconds(limits.stallTimeoutMs);
    SetRequestOptions(handle, headers.get(), agent, request.proxy);
    SetBounds(handle, limits);
    SetSecurity(handle, limits);
    SetSink(handle, sink);
    std::optional<StoreCookies> cookies;
    if (request.useCookieStore) {
        cookies.emplace(handle);
    }
    return PerformHops(handle, {target.curlUrl, target.object, request.method}, request, sink,
                       limits.maxRedirects);
}

} // namespace

TransferResult RunTransfer(const TransferRequest& request) {
    const std::optional<RequestTarget> target = TargetFor(request.url, !request.proxy.empty());
    if (!target) {
        return {};
    }
    const curl::HandleLease lease(request.useCookieStore ? CookieMode::Store : CookieMode::Off);
    ResponseSink sink;
    if (lease.get() == nullptr || !Transfer(lease.get(), *target, request, sink)) {
        return {};
    }
    return {true, std::move(sink.body), std::move(sink.rawHeaders)};
}

} // namespace quill

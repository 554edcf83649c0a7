#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "core/text.h"
#include "tests/support/raw_server.h"
#include "web/fetch_page.h"

namespace quill::testing {

// Longer than any wait a test means to cause, short enough that a wrong answer fails fast.
constexpr auto kHangBound = std::chrono::seconds(20);

// Fetch bounds far below the defaults, so a fault that waits for one shows within a test.
constexpr long kStallBoundMs = 1000;
constexpr long kMaxRedirects = 5;
constexpr std::size_t kBodyCap = 16 * 1024;
FetchLimits FaultLimits();

// UTF-8 text whose bytes also read as valid code page 936 pairs (other Han characters), and
// whose code page 936 bytes read as UTF-8 hold no Han character.
inline constexpr char kUtf8ReadableAsGbk[] = "夜来风雨声花落知多少";

// Far more requests than any one test makes.
constexpr int kRequestBudget = 500;

// A latch that a route can wait on; the wait never outlasts kHangBound.
class Gate final {
  public:
    void wait();
    void open();

  private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

// A loopback site whose every path answers with whatever bytes its route returns, misbehaving
// on purpose. A path without a route is a 404 with an empty body, and so is every request
// beyond kRequestBudget: a chain of fetches that never ends by itself then ends there, with a
// wrong count instead of a server thread per page without bound.
class FaultSite final {
  public:
    using Route = std::function<RawReply()>;

    FaultSite();

    void serve(const std::string& path, Route route);
    void serve(const std::string& path, const RawReply& reply);
    // A 200 response with `body`.
    void servePage(const std::string& path, const Text& body);
    std::string url(const std::string& path) const { return m_server.url(path); }
    // "http://127.0.0.1:<port>", the site root as a parse would take it.
    std::string root() const { return m_server.url(""); }
    int requestsFor(const std::string& path) const;
    int requestCount() const { return static_cast<int>(m_server.requests().size()); }
    // Refuses every later request; stalled answers end at once.
    void stop() { m_server.stop(); }

  private:
    RawReply answer(const RawRequest& request);

    mutable std::mutex m_mutex;
    std::map<std::string, Route> m_routes;
    int m_answered = 0;
    // Last: it stops before the routes it calls go away.
    RawServer m_server;
};

// Replies that break off: the first `kept` bytes of `reply`, then the connection ends as said.
RawReply CutReply(const RawReply& reply, std::size_t kept, RawReply::Ending ending);
// A 200 response without Content-Length, whose body ends when the connection closes.
RawReply UndeclaredLengthReply(const std::string& body);
RawReply RedirectReply(const std::string& location);

// A chapter page: a navigation block, the text block holding `text`, then `after` (links,
// further blocks). Its markup is ASCII, so the page is in whatever encoding `text` and `after`
// are; `charset` is what its head declares.
std::string ChapterPage(const std::string& text, const std::string& after = {},
                        const std::string& charset = "gbk");
// Han text for row `row` (0-based) that never holds its title.
Text ChapterBody(int row);
Text ChapterTitle(int row);
// A "下一页" or "下一章" link to `path`.
Text NextPageLink(const std::string& path);
Text NextChapterLink(const std::string& path);

// Runs `call` on a thread of its own; when it has not returned within kHangBound, the site is
// stopped, which ends every chain of fetches, and the call is waited for. True when it returned
// in time.
bool ReturnsInTime(const std::function<void()>& call, FaultSite& site);

} // namespace quill::testing

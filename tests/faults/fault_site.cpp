#include "fault_site.h"

#include <future>
#include <gtest/gtest.h>
#include <thread>

#include "core/codepage.h"
#include "core/text_rules.h"
#include "web/fetch_page.h"

namespace quill::testing {
namespace {

// The HTTP library is set up once per test program, before any test fetches.
class WebEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override { InitWeb(); }
};

const auto* const kWebEnvironment = ::testing::AddGlobalTestEnvironment(new WebEnvironment);

} // namespace

FetchLimits FaultLimits() {
    FetchLimits limits;
    limits.connectTimeoutMs = 2000;
    limits.stallTimeoutMs = kStallBoundMs;
    limits.maxRedirects = kMaxRedirects;
    limits.maxBodyBytes = kBodyCap;
    return limits;
}

void Gate::wait() {
    std::unique_lock lock(m_mutex);
    m_opened.wait_for(lock, kHangBound, [this] { return m_open; });
}

void Gate::open() {
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
    }
    m_opened.notify_all();
}

FaultSite::FaultSite() : m_server([this](const RawRequest& request) { return answer(request); }) {}

void FaultSite::serve(const std::string& path, Route route) {
    std::lock_guard lock(m_mutex);
    m_routes[path] = std::move(route);
}

void FaultSite::serve(const std::string& path, const RawReply& reply) {
    serve(path, [reply] { return reply; });
}

void FaultSite::servePage(const std::string& path, const Text& body) {
    serve(path, HttpReply(200, body));
}

int FaultSite::requestsFor(const std::string& path) const {
    int count = 0;
    for (const RawRequest& request : m_server.requests()) {
        count += request.target() == path ? 1 : 0;
    }
    return count;
}

RawReply FaultSite::answer(const RawRequest& request) {
    Route route;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_routes.find(request.target());
        if (++m_answered > kRequestBudget || found == m_routes.end()) {
            return HttpReply(404, "");
        }
        route = found->second;
    }
    // Outside the lock: a route may wait on a gate while other paths are served.
    return route();
}

RawReply CutReply(const RawReply& reply, std::size_t kept, RawReply::Ending ending) {
    return {reply.bytes.substr(0, kept), ending};
}

RawReply UndeclaredLengthReply(const std::string& body) {
    return {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n" + body,
            RawReply::Ending::Close};
}

RawReply RedirectReply(const std::string& location) {
    return HttpReply(302, "", {"Location: " + location});
}

std::string ChapterPage(const std::string& text, const std::string& after,
                        const std::string& charset) {
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset +
           "\"><title>t</title></head><body>\r\n<div class=\"nav\">nav</div>\r\n" +
           "<div id=\"content\">" + text + "</div>\r\n" + after + "\r\n</body></html>";
}

Text ChapterBody(int row) {
    return Gbk("正文") + DecimalText(row + 1) + Gbk("，春眠不觉晓，处处闻啼鸟。");
}

Text ChapterTitle(int row) {
    return Gbk("第") + DecimalText(row + 1) + Gbk("章");
}

Text NextPageLink(const std::string& path) {
    return "<a href=\"" + path + "\">" + Gbk("下一页") + "</a>";
}

Text NextChapterLink(const std::string& path) {
    return "<a href=\"" + path + "\">" + Gbk("下一章") + "</a>";
}

bool ReturnsInTime(const std::function<void()>& call, FaultSite& site) {
    std::packaged_task<void()> task(call);
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    const bool inTime = done.wait_for(kHangBound) == std::future_status::ready;
    if (!inTime) {
        site.stop();
    }
    runner.join();
    return inTime;
}

} // namespace quill::testing

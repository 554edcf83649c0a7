// Small pages from a loopback server, 1,000 per run, fetched on one and on six threads, with the
// pooled connections reused and with a new connection for every request. Reported as pages per
// second (items_per_second).

#include <atomic>
#include <benchmark/benchmark.h>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/local_server.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

constexpr int kPages = 1000;
const std::string kPage(2048, 'x');

class PageServer final {
  public:
    PageServer() {
        m_server.server().set_keep_alive_max_count(kPages * 10);
        m_server.server().set_keep_alive_timeout(1);
        m_server.server().Get(R"(/page/(\d+))",
                              [](const httplib::Request&, httplib::Response& response) {
                                  response.set_content(kPage, "text/html");
                              });
        m_server.start();
    }
    std::string url(int page) const { return m_server.url("/page/" + std::to_string(page)); }

  private:
    testing::LocalServer m_server;
};

// Fetches every page once, the threads taking the next page as they become free; returns the
// count of pages that came back whole.
int FetchAll(const PageServer& server, int threadCount) {
    std::atomic<int> next{0};
    std::atomic<int> whole{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&] {
            for (int page = next++; page < kPages; page = next++) {
                whole += FetchPage(server.url(page)).size() == kPage.size() ? 1 : 0;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    return whole;
}

void BM_FetchPages(benchmark::State& state) {
    InitWeb();
    const int threadCount = static_cast<int>(state.range(0));
    FetchLimits limits;
    limits.reuseConnections = state.range(1) != 0;
    SetFetchLimits(limits);
    PageServer server;
    for (auto _ : state) {
        if (FetchAll(server, threadCount) != kPages) {
            state.SkipWithError("a page did not come back whole");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kPages);
    SetFetchLimits(FetchLimits{});
}

BENCHMARK(BM_FetchPages)
    ->ArgNames({"threads", "reuse"})
    ->Args({1, 1})
    ->Args({6, 1})
    ->Args({1, 0})
    ->Args({6, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

} // namespace
} // namespace quill

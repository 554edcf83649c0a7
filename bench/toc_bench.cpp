// Table-of-contents parsing of a large book from the local demo site. The figure that counts
// is the time spent outside fetching: parsing, link resolution and the chapter selection.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <string>
#include <vector>

#include "app/table_of_contents.h"
#include "tests/support/memory_controls.h"
#include "tools/demo_site/demo_site.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

constexpr int kChapters = 10000;
constexpr int kTocPageSize = 100;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One site for the whole run, started on first use and stopped at exit.
class BenchSite {
  public:
    BenchSite() : m_site(demo::SiteOptions{{kChapters, kTocPageSize}}) {
        InitWeb();
        m_started = m_site.start();
        for (int page = 1; page <= m_site.book().tocPageCount(); ++page) {
            m_tocPages.push_back(m_site.url(demo::TocPagePath(page)));
        }
    }
    static BenchSite& instance() {
        static BenchSite site;
        return site;
    }

    bool started() const { return m_started; }
    std::string tocAddress() const { return m_site.tocAddress(); }
    const std::vector<std::string>& tocPages() const { return m_tocPages; }

  private:
    demo::DemoSite m_site;
    bool m_started = false;
    std::vector<std::string> m_tocPages;
};

double FetchAll(const std::vector<std::string>& addresses) {
    const Clock::time_point start = Clock::now();
    for (const std::string& address : addresses) {
        benchmark::DoNotOptimize(FetchPage(address));
    }
    return SecondsSince(start);
}

// Each iteration fetches the same pages alone, then parses them; the iteration's time is the
// difference, and the two parts are reported as counters.
void BM_CollectTableOfContentsOutsideFetching(benchmark::State& state) {
    BenchSite& site = BenchSite::instance();
    if (!site.started()) {
        state.SkipWithError("the demo site cannot listen");
        return;
    }
    testing::MemoryControls controls;
    controls.setAddress(site.tocAddress());
    double fetchSeconds = 0;
    double totalSeconds = 0;
    for (auto _ : state) {
        const double fetch = FetchAll(site.tocPages());
        const Clock::time_point start = Clock::now();
        const TableOfContents toc = CollectTableOfContents(site.tocAddress(), controls);
        const double total = SecondsSince(start);
        if (toc.urls.size() != static_cast<std::size_t>(kChapters)) {
            state.SkipWithError("the parse did not find every chapter");
            return;
        }
        state.SetIterationTime(std::max(0.0, total - fetch));
        fetchSeconds += fetch;
        totalSeconds += total;
    }
    using benchmark::Counter;
    state.counters["total_ms"] = Counter(totalSeconds * 1000, Counter::kAvgIterations);
    state.counters["fetch_only_ms"] = Counter(fetchSeconds * 1000, Counter::kAvgIterations);
    state.counters["pages"] = static_cast<double>(site.tocPages().size());
}
BENCHMARK(BM_CollectTableOfContentsOutsideFetching)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The selection alone over n chapter links among navigation links, a tenth of them repeated.
void BM_SelectChapterLinks(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    TextArray titles;
    TextArray urls;
    for (int i = 0; i < n; ++i) {
        const int chapter = i % 10 == 9 ? i - 5 : i;
        titles.push_back("c" + std::to_string(chapter));
        urls.push_back("http://127.0.0.1:8808/book/1/" + std::to_string(1000000 + chapter) +
                       ".html");
    }
    for (auto _ : state) {
        TextArray keptTitles = titles;
        TextArray keptUrls = urls;
        SelectChapterLinks(keptTitles, keptUrls);
        benchmark::DoNotOptimize(keptUrls.data());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_SelectChapterLinks)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();

} // namespace
} // namespace quill

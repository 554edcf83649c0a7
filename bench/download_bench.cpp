// A whole batch over the demo site: 1,000 chapters, 20 ms of latency per request. Six workers
// at once set the floor: requests x 20 ms / 6. Reported beside the wall time are that floor
// and the CPU time of the whole process (the in-process demo site included).

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <thread>

#include "core/codepage.h"
#include "core/shared_state.h"
#include "download/download.h"
#include "tests/support/memory_controls.h"
#include "tools/demo_site/demo_site.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

constexpr int kChapters = 1000;
constexpr int kDelayMs = 20;
constexpr int kWorkers = 6;
constexpr auto kBatchDeadline = std::chrono::minutes(5);
constexpr auto kTimerPeriod = std::chrono::milliseconds(5);

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int RequestCount(const demo::DemoBook& book) {
    int requests = 0;
    for (int chapter = 0; chapter < book.chapterCount(); ++chapter) {
        requests += book.partCount(chapter);
    }
    return requests;
}

std::filesystem::path MakeOutputDirectory() {
    std::string pattern = std::filesystem::temp_directory_path() / "quill-bench-XXXXXX";
    return mkdtemp(pattern.data());
}

void ListBook(const demo::DemoSite& site, SharedState& state, testing::MemoryControls& controls) {
    state.BookTitle = site.book().title();
    state.ChapterTitles = site.book().chapterTitles();
    state.ChapterUrls = site.chapterAddresses();
    controls.fillRows(state.ChapterTitles);
}

int StoredRows(const testing::MemoryControls& controls) {
    int stored = 0;
    for (int row = 0; row < controls.rowCount(); ++row) {
        stored += controls.cellText(row, 2) == Gbk("下载完成") ? 1 : 0;
    }
    return stored;
}

// Presses "下载" and plays the window's timer until the batch gives the commands back.
bool RunBatch(DownloadContext& context, const testing::MemoryControls& controls) {
    const auto deadline = std::chrono::steady_clock::now() + kBatchDeadline;
    StartDownload(context);
    while (!controls.batchCommandsEnabled()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        ShowProgress(context);
        std::this_thread::sleep_for(kTimerPeriod);
    }
    return true;
}

void BM_DownloadDemoBook(benchmark::State& bench) {
    InitWeb();
    demo::DemoSite site({{kChapters, 50}, demo::Encoding::Gbk, kDelayMs});
    if (!site.start()) {
        bench.SkipWithError("the demo site cannot bind a port");
        return;
    }
    const int requests = RequestCount(site.book());
    for (auto _ : bench) {
        bench.PauseTiming();
        SharedState state;
        testing::MemoryControls controls;
        ListBook(site, state, controls);
        const auto output = MakeOutputDirectory();
        // The batch gives the commands back as its very last act, so the context may go then.
        DownloadContext context{state, controls, output};
        const double cpuBefore = ProcessCpuSeconds();
        bench.ResumeTiming();

        const bool ended = RunBatch(context, controls);

        bench.PauseTiming();
        bench.counters["cpu_s"] = ProcessCpuSeconds() - cpuBefore;
        bench.counters["stored_rows"] = StoredRows(controls);
        if (!ended) {
            bench.SkipWithError("the batch did not end in time");
        }
        std::error_code error;
        std::filesystem::remove_all(output, error);
        bench.ResumeTiming();
    }
    bench.counters["requests"] = requests;
    bench.counters["floor_s"] = requests * kDelayMs / 1000.0 / kWorkers;
}

BENCHMARK(BM_DownloadDemoBook)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace quill

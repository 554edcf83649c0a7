#include "download_fixture.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "core/codepage.h"
#include "core/text_rules.h"
#include "tests/support/wait_until.h"
#include "web/fetch_page.h"

namespace quill::testing {
namespace {

constexpr auto kBatchDeadline = std::chrono::seconds(60);

void InitWebOnce() {
    static std::once_flag once;
    std::call_once(once, [] { InitWeb(); });
}

std::filesystem::path MakeTempRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quill-download-XXXXXX");
    return mkdtemp(pattern.data());
}

std::string ChapterPage(const Text& text) {
    return "<html><head><meta charset=\"gbk\"><title>t</title></head><body>"
           "<div class=\"nav\">nav</div><div id=\"content\">" +
           text + "</div></body></html>";
}

int NumberIn(const httplib::Request& request) {
    return std::atoi(request.matches[1].str().c_str());
}

} // namespace

bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& step) {
    return testing::WaitUntil(done, step, kBatchDeadline);
}

Text ChapterBody(int n) {
    return Gbk("正文内容之") + DecimalText(n) + Gbk("号段落，春风又绿江南岸");
}

Text ChapterTitle(int n) {
    return Gbk("第") + DecimalText(n) + Gbk("章");
}

Text StoredChapter(int n) {
    return ChapterTitle(n) + "\r\n" + ChapterTitle(n) + "\r\n" + ChapterBody(n) + "\r\n";
}

DownloadTest::DownloadTest() : m_root(MakeTempRoot()), m_output(m_root / "output") {
    InitWebOnce();
    std::filesystem::create_directory(m_output);
    m_context.outputDirectory = m_output;
    m_state.BookTitle = ConvertUtf8ToGbk(m_bookName);
    // More serving threads than workers, so a seventh request at once would be seen.
    m_server.server().new_task_queue = [] { return new httplib::ThreadPool(16); };
    // One request per connection: a kept-alive connection would hold stop() for its time-out.
    m_server.server().set_keep_alive_max_count(1);
    auto serve = [this](auto render) {
        return [this, render](const httplib::Request& request, httplib::Response& response) {
            const int running = ++m_running;
            for (int most = m_mostRunning; running > most;) {
                m_mostRunning.compare_exchange_weak(most, running);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(m_delayMs.load()));
            response.set_content(render(NumberIn(request)), "text/html");
            --m_running;
        };
    };
    m_server.server().Get(R"(/chapter/(\d+))",
                          serve([](int n) { return ChapterPage(ChapterBody(n)); }));
    m_server.server().Get(R"(/titled/(\d+))", serve([](int n) {
                              return ChapterPage(ChapterTitle(n) + Gbk("，") + ChapterBody(n));
                          }));
    m_server.server().Get(R"(/missing/(\d+))", serve([](int) { return std::string(); }));
    m_server.server().Get(R"(/gated/(\d+))", serve([this](int n) {
                              std::unique_lock lock(m_gateMutex);
                              m_gateOpened.wait_for(lock, kBatchDeadline,
                                                    [this] { return m_gateOpen; });
                              return ChapterPage(ChapterBody(n));
                          }));
    m_server.start();
}

DownloadTest::~DownloadTest() {
    openGate();
    waitForIdleWorkers(); // a failed test may leave a batch behind
    m_server.stop();
    std::error_code error;
    std::filesystem::remove_all(m_root, error);
}

void DownloadTest::listChapters(int count, const std::string& route) {
    m_state.ChapterUrls.clear();
    m_state.ChapterTitles.clear();
    for (int n = 1; n <= count; ++n) {
        m_state.ChapterUrls.push_back(m_server.url(route + std::to_string(n)));
        m_state.ChapterTitles.push_back(ChapterTitle(n));
    }
    m_controls.fillRows(m_state.ChapterTitles);
}

void DownloadTest::setChapterRoute(int row, const std::string& route) {
    m_state.ChapterUrls[row] = m_server.url(route + std::to_string(row + 1));
}

bool DownloadTest::runBatch() {
    StartDownload(m_context);
    return driveTimerUntil([&] { return m_controls.batchCommandsEnabled(); });
}

void DownloadTest::openGate() {
    {
        std::lock_guard lock(m_gateMutex);
        m_gateOpen = true;
    }
    m_gateOpened.notify_all();
}

bool DownloadTest::driveTimerUntil(const std::function<bool()>& done) {
    return WaitUntil(done, [this] { ShowProgress(m_context); });
}

bool DownloadTest::waitForIdleWorkers() {
    return WaitUntil([this] { return m_state.WorkerCount.load() == 0; });
}

Text DownloadTest::readFile(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace quill::testing

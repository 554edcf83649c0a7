#include "fault_batch.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/codepage.h"
#include "tests/support/wait_until.h"

namespace quill::testing {
namespace {

const char kBookName[] = "故障之书";

// What a worker stores for `row` when its text lacks the title: the title column, the title,
// the text, each ending a line.
Text StoredChapter(int row, const Text& text) {
    return ChapterTitle(row) + "\r\n" + ChapterTitle(row) + "\r\n" + text + "\r\n";
}

} // namespace

bool WaitFor(const std::function<bool()>& done, const std::function<void()>& step) {
    return testing::WaitUntil(done, step, kHangBound);
}

FaultBatchTest::FaultBatchTest() {
    m_context.outputDirectory = m_root.path() / "output";
    std::filesystem::create_directory(m_context.outputDirectory);
    m_state.BookTitle = ConvertUtf8ToGbk(kBookName);
    m_state.SiteRoot = m_site.root();
    m_controls.setAddress(m_site.url("/book/"));
}

FaultBatchTest::~FaultBatchTest() {
    m_gate.open();
    if (finishBatch()) {
        return;
    }
    // Without the site every fetch fails at once, which ends any chain a worker still follows.
    m_site.stop();
    if (!finishBatch()) {
        // Its workers still use this fixture: freeing it under them would hide the fault.
        std::fputs("a download batch never ended\n", stderr);
        std::abort();
    }
}

void FaultBatchTest::startBatch() {
    m_batchStarted = true;
    StartDownload(m_context);
}

bool FaultBatchTest::finishBatch() {
    return !m_batchStarted || WaitFor([this] { return m_controls.batchCommandsEnabled(); },
                                      [this] { ShowProgress(m_context); });
}

void FaultBatchTest::listRows(const std::vector<std::string>& paths) {
    m_state.ChapterUrls.clear();
    m_state.ChapterTitles.clear();
    for (const std::string& path : paths) {
        m_state.ChapterTitles.push_back(ChapterTitle(static_cast<int>(m_state.ChapterUrls.size())));
        m_state.ChapterUrls.push_back(m_site.url(path));
    }
    m_controls.fillRows(m_state.ChapterTitles);
}

bool FaultBatchTest::runBatch() {
    startBatch();
    return finishBatch();
}

void FaultBatchTest::expectBook(const std::vector<Text>& texts) {
    Text book = m_state.BookTitle + "\r\n";
    for (int row = 0; row < static_cast<int>(texts.size()); ++row) {
        if (!texts[row].empty()) {
            book += StoredChapter(row, texts[row]);
        }
    }
    EXPECT_EQ(readBook(), book);
    expectStatuses(texts);
}

void FaultBatchTest::expectStatuses(const std::vector<Text>& texts) {
    for (int row = 0; row < static_cast<int>(texts.size()); ++row) {
        const char* status = texts[row].empty() ? "待下载" : "下载完成";
        EXPECT_EQ(m_controls.cellText(row, 2), Gbk(status)) << "row " << row;
    }
}

void FaultBatchTest::expectClosingMessage(const Text& text) {
    const auto messages = m_controls.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, text);
}

Text FaultBatchTest::readBook() const {
    std::ifstream in(bookPath(), std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path FaultBatchTest::bookPath() const {
    return m_context.outputDirectory / (std::string(kBookName) + ".txt");
}

} // namespace quill::testing

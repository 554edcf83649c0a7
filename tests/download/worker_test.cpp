#include <ostream>

#include "core/codepage.h"
#include "download/worker_places.h"
#include "download_fixture.h"

namespace quill::testing {
namespace {

struct WorkerCase {
    const char* name;
    std::string route; // of the worker's row
    bool ticked;
    int row;
    bool stored;      // a temp file and "下载完成"
    bool titleInText; // the text already holds the title: no title line of its own
};

std::ostream& operator<<(std::ostream& out, const WorkerCase& c) {
    return out << c.name;
}

class WorkerTest : public DownloadTest, public ::testing::WithParamInterface<WorkerCase> {
  protected:
    void SetUp() override {
        listChapters(10);
        std::filesystem::create_directory(TempDirectory(m_context));
    }

    // As the scheduler does it: the place is taken before the worker runs.
    void runWorker(int row) {
        ReserveWorkerPlace(m_state);
        DownloadChapter(m_context, row);
    }
};

TEST_P(WorkerTest, StoresOnlyATickedNonEmptyChapter) {
    const WorkerCase& c = GetParam();
    setChapterRoute(c.row, c.route);
    m_controls.setRowTicked(c.row, c.ticked);

    runWorker(c.row);

    const int n = c.row + 1;
    const auto file = TempDirectory(m_context) / (std::to_string(n) + ".txt");
    EXPECT_EQ(m_state.WorkerCount.load(), 0);
    if (!c.stored) {
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(m_controls.cellText(c.row, 2), Gbk("待下载"));
        return;
    }
    const Text text = c.titleInText ? ChapterTitle(n) + Gbk("，") + ChapterBody(n)
                                    : ChapterTitle(n) + "\r\n" + ChapterBody(n);
    EXPECT_EQ(readFile(file), ChapterTitle(n) + "\r\n" + text + "\r\n");
    EXPECT_EQ(m_controls.cellText(c.row, 2), Gbk("下载完成"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkerTest,
    ::testing::Values(WorkerCase{"FirstRowWritesFile1", "/chapter/", true, 0, true, false},
                      WorkerCase{"TenthRowWritesFile10", "/chapter/", true, 9, true, false},
                      WorkerCase{"TitleInTextAddsNoTitleLine", "/titled/", true, 4, true, true},
                      WorkerCase{"UntickedRowStoresNothing", "/chapter/", false, 2, false, false},
                      WorkerCase{"EmptyChapterStoresNothing", "/missing/", true, 3, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkerTest, TitleColumnAsListedGoesFirst) {
    m_controls.setCellText(0, 1, Gbk("改过的名字"));

    runWorker(0);

    EXPECT_EQ(readFile(TempFilePath(m_context, 0)),
              Gbk("改过的名字") + "\r\n" + ChapterTitle(1) + "\r\n" + ChapterBody(1) + "\r\n");
}

TEST_F(WorkerTest, ExistingTempFileIsReplacedWhole) {
    const Text longer(4096, 'x');
    std::ofstream(TempFilePath(m_context, 0), std::ios::binary) << longer;

    runWorker(0);

    EXPECT_EQ(readFile(TempFilePath(m_context, 0)), StoredChapter(1));
}

TEST_F(WorkerTest, UnwritableFileLeavesStatusWaiting) {
    std::filesystem::remove(TempDirectory(m_context));

    runWorker(0);

    EXPECT_FALSE(std::filesystem::exists(TempFilePath(m_context, 0)));
    EXPECT_EQ(m_controls.cellText(0, 2), Gbk("待下载"));
    EXPECT_EQ(m_state.WorkerCount.load(), 0);
}

TEST_F(WorkerTest, RowBeyondTheChapterArraysStoresNothing) {
    m_controls.fillRows(TextArray(11, Gbk("多出的行")));

    runWorker(10);

    EXPECT_FALSE(std::filesystem::exists(TempFilePath(m_context, 10)));
    EXPECT_EQ(m_state.WorkerCount.load(), 0);
}

} // namespace
} // namespace quill::testing

#include <atomic>
#include <fstream>

#include "core/codepage.h"
#include "download_fixture.h"

namespace quill::testing {
namespace {

// The test's controls, with the scheduler held back when it asks for the row count after its
// first row: the time at which a batch is not yet fully dispatched while no worker runs.
class HeldSchedulerControls final : public Controls {
  public:
    explicit HeldSchedulerControls(MemoryControls& inner) : m_inner(inner) {}

    Text addressText() const override { return m_inner.addressText(); }
    bool transcodeTicked() const override { return m_inner.transcodeTicked(); }
    bool preprocessTicked() const override { return m_inner.preprocessTicked(); }
    bool filterEnabled() const override { return m_inner.filterEnabled(); }
    Text filterRules() const override { return m_inner.filterRules(); }
    int rowCount() const override {
        if (++m_rowCountCalls == 2) {
            held = true;
            WaitUntil([this] { return released.load(); });
        }
        return m_inner.rowCount();
    }
    bool rowTicked(int row) const override { return m_inner.rowTicked(row); }
    Text cellText(int row, int column) const override { return m_inner.cellText(row, column); }
    void setCellText(int row, int column, const Text& text) override {
        m_inner.setCellText(row, column, text);
    }
    void setCaption(Caption caption, const Text& text) override {
        m_inner.setCaption(caption, text);
    }
    void setTimerPeriod(int milliseconds) override { m_inner.setTimerPeriod(milliseconds); }
    void setBatchCommandsEnabled(bool enabled) override {
        m_inner.setBatchCommandsEnabled(enabled);
    }
    void showTimedMessage(const Text& text, const Text& caption, int milliseconds) override {
        m_inner.showTimedMessage(text, caption, milliseconds);
    }

    mutable std::atomic<bool> held{false};
    std::atomic<bool> released{false};

  private:
    MemoryControls& m_inner;
    mutable std::atomic<int> m_rowCountCalls{0};
};

class BatchTest : public DownloadTest {
  protected:
    Text titleLine() const { return m_state.BookTitle + "\r\n"; }

    Text bookOf(const std::vector<int>& chapters) const {
        Text book = titleLine();
        for (int n : chapters) {
            book += StoredChapter(n);
        }
        return book;
    }

    void expectIdleWindow() {
        EXPECT_EQ(m_controls.caption(Caption::DownloadButton), Gbk("下载"));
        EXPECT_TRUE(m_controls.batchCommandsEnabled());
        EXPECT_EQ(m_controls.timerPeriod(), 0);
        EXPECT_EQ(m_state.WorkerCount.load(), 0);
        EXPECT_EQ(m_state.DispatchFlag.load(), 0);
    }
};

TEST_F(BatchTest, TwelveRowsGiveTheBookInNumericOrder) {
    listChapters(12);

    ASSERT_TRUE(runBatch());

    EXPECT_EQ(readFile(bookPath()), bookOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(m_controls.cellText(row, 2), Gbk("下载完成")) << "row " << row;
    }
    ASSERT_EQ(m_controls.messages().size(), 1u);
    EXPECT_EQ(m_controls.messages()[0].text, Gbk("《测试之书》下载完毕，合并完成！"));
    expectIdleWindow();
}

TEST_F(BatchTest, NothingTickedGivesTheTitleLineAlone) {
    listChapters(3);
    for (int row = 0; row < 3; ++row) {
        m_controls.setRowTicked(row, false);
    }

    ASSERT_TRUE(runBatch());

    EXPECT_EQ(readFile(bookPath()), titleLine());
    EXPECT_EQ(m_controls.messages().size(), 1u);
    EXPECT_EQ(m_controls.cellText(0, 2), Gbk("待下载"));
}

TEST_F(BatchTest, ChapterThatCannotBeFetchedIsLeftOut) {
    listChapters(5);
    setChapterRoute(2, "/missing/");

    ASSERT_TRUE(runBatch());

    EXPECT_EQ(readFile(bookPath()), bookOf({1, 2, 4, 5}));
    EXPECT_EQ(m_controls.cellText(2, 2), Gbk("待下载"));
    EXPECT_EQ(m_controls.cellText(3, 2), Gbk("下载完成"));
}

TEST_F(BatchTest, UnwritableOutputIsReportedAndNoRowMarkedDone) {
    // A parent that is a regular file stops even root from writing.
    std::ofstream(m_root / "plain-file") << "x";
    m_context.outputDirectory = m_root / "plain-file" / "output";
    listChapters(3);

    ASSERT_TRUE(runBatch());

    const auto book = m_context.outputDirectory / (m_bookName + ".txt");
    ASSERT_EQ(m_controls.messages().size(), 1u);
    EXPECT_EQ(m_controls.messages()[0].text,
              Gbk("《测试之书》合并失败，无法写入文件：") + ConvertUtf8ToGbk(book.string()));
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(m_controls.cellText(row, 2), Gbk("待下载")) << "row " << row;
    }
    expectIdleWindow();
}

TEST_F(BatchTest, SameListDownloadedTwiceIsMergedTwice) {
    listChapters(2);
    ASSERT_TRUE(runBatch());
    std::filesystem::remove(bookPath());

    ASSERT_TRUE(runBatch());

    EXPECT_EQ(readFile(bookPath()), bookOf({1, 2}));
    EXPECT_EQ(m_controls.messages().size(), 2u);
}

TEST_F(BatchTest, SecondBatchStartsFromAnEmptyTempDirectory) {
    listChapters(2);
    ASSERT_TRUE(runBatch());
    m_controls.setRowTicked(1, false);

    ASSERT_TRUE(runBatch());

    EXPECT_FALSE(std::filesystem::exists(TempFilePath(m_context, 1)));
    EXPECT_EQ(readFile(bookPath()), bookOf({1}));
}

TEST_F(BatchTest, NeverMoreThanSixWorkersAtOnce) {
    m_delayMs = 40;
    listChapters(20);
    int mostCounted = 0;

    StartDownload(m_context);
    ASSERT_TRUE(driveTimerUntil([&] {
        mostCounted = std::max(mostCounted, m_state.WorkerCount.load());
        return m_controls.batchCommandsEnabled();
    }));

    EXPECT_LE(m_mostRunning.load(), 6);
    EXPECT_GT(m_mostRunning.load(), 1);
    EXPECT_LE(mostCounted, 6);
    EXPECT_EQ(
        readFile(bookPath()).size(),
        bookOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}).size());
}

TEST_F(BatchTest, CommandsStayDisabledAndNoMergeWhileAWorkerRuns) {
    listChapters(8, "/gated/");

    StartDownload(m_context);
    EXPECT_FALSE(m_controls.batchCommandsEnabled());
    EXPECT_EQ(m_controls.caption(Caption::DownloadButton), Gbk("下载中"));
    EXPECT_EQ(m_controls.timerPeriod(), 300);
    ASSERT_TRUE(driveTimerUntil([&] { return m_mostRunning.load() == 6; }));
    for (int period = 0; period < 20; ++period) {
        ShowProgress(m_context);
    }
    EXPECT_TRUE(m_controls.messages().empty());
    EXPECT_FALSE(m_controls.batchCommandsEnabled());
    EXPECT_EQ(m_controls.caption(Caption::WorkerLabel), Gbk("线程：6"));

    openGate();
    ASSERT_TRUE(driveTimerUntil([&] { return m_controls.batchCommandsEnabled(); }));

    EXPECT_EQ(readFile(bookPath()), bookOf({1, 2, 3, 4, 5, 6, 7, 8}));
    expectIdleWindow();
}

TEST_F(BatchTest, NoMergeBeforeTheLastRowIsDispatched) {
    listChapters(3);
    HeldSchedulerControls controls(m_controls);
    DownloadContext context{m_state, controls, m_output};
    const auto showProgress = [&context] { ShowProgress(context); };

    StartDownload(context);
    ASSERT_TRUE(WaitUntil([&] { return controls.held && m_state.WorkerCount.load() == 0; }));
    for (int period = 0; period < 20; ++period) {
        showProgress();
    }
    EXPECT_TRUE(m_controls.messages().empty());
    EXPECT_FALSE(m_controls.batchCommandsEnabled());

    controls.released = true;
    ASSERT_TRUE(WaitUntil([&] { return m_controls.batchCommandsEnabled(); }, showProgress));
    EXPECT_EQ(readFile(bookPath()), bookOf({1, 2, 3}));
}

TEST_F(BatchTest, EmptyListEndsAtOnceWithoutABook) {
    ASSERT_TRUE(runBatch());

    EXPECT_TRUE(m_controls.messages().empty());
    EXPECT_FALSE(std::filesystem::exists(bookPath()));
    expectIdleWindow();
}

} // namespace
} // namespace quill::testing

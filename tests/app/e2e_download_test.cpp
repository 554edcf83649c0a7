#include <algorithm>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "core/codepage.h"
#include "e2e_test.h"

namespace quill::testing {
namespace {

constexpr int kBatchTimeoutMs = 60000;
constexpr int kMessageGoneTimeoutMs = 10000;
// Long enough per request that a batch of the delayed site spans several timer ticks.
constexpr int kSlowSiteDelayMs = 150;
constexpr int kMaxWorkers = 6;

std::vector<int> RowsExcept(int rows, const std::vector<int>& left) {
    std::vector<int> kept;
    for (int row = 0; row < rows; ++row) {
        if (std::find(left.begin(), left.end(), row) == left.end()) {
            kept.push_back(row);
        }
    }
    return kept;
}

} // namespace

void EndToEndTest::downloadMergesTheTickedChaptersInRowOrder() {
    QVERIFY(startSite(BookSite(demo::Encoding::Gbk)));
    parse(site().tocAddress());
    QCOMPARE(rowCount(), site().book().chapterCount());
    const std::vector<int> unticked = {1, 4, 9};
    for (int row : unticked) {
        QVERIFY(clickCheckBox(row));
    }
    watchBatch();

    f().clickButton("按钮4");

    QTRY_VERIFY_WITH_TIMEOUT(m_messages.count(QStringLiteral("标题"), closingMessage()) == 1,
                             kBatchTimeoutMs);
    const std::vector<int> tickedRows = RowsExcept(rowCount(), unticked);
    const QString difference = FirstDifference(bookFile(), expectedBookFile(tickedRows));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    for (int row = 0; row < rowCount(); ++row) {
        const bool wasTicked = std::count(tickedRows.begin(), tickedRows.end(), row) == 1;
        QCOMPARE(cell(row, 2), Gbk(wasTicked ? "下载完成" : "待下载"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(batchCommandsEnabled(), kBatchTimeoutMs);
    QCOMPARE(caption("按钮4"), QStringLiteral("下载"));
    QVERIFY(!timer()->isActive());
    QCOMPARE_GT(m_samples.ticks, 0);
    QCOMPARE_LE(m_samples.mostWorkers, kMaxWorkers);
}

// Each of the user's attempts would show: a parse ticks every row again, a reverse reorders
// the list, a second batch empties the temp files under the first.
void EndToEndTest::batchLocksOutParseReverseAndDownload() {
    demo::SiteOptions options = BookSite(demo::Encoding::Gbk, kSlowSiteDelayMs);
    options.book.chapters = 24;
    options.book.tocPageSize = 10;
    QVERIFY(startSite(options));
    parse(site().tocAddress());
    QCOMPARE(rowCount(), site().book().chapterCount());
    QVERIFY(clickCheckBox(0));
    const TextArray urls = f().state().ChapterUrls;
    watchBatch();

    f().clickButton("按钮4");

    QCOMPARE(caption("按钮4"), QStringLiteral("下载中"));
    for (const char* name : {"按钮1", "按钮9", "按钮4"}) {
        QVERIFY2(!f().find<QPushButton>(name)->isEnabled(), name);
        f().clickButton(name);
    }
    QVERIFY(!ticked(0));
    QCOMPARE(f().state().ChapterUrls, urls);
    QCOMPARE(cell(0, 1), site().book().chapterTitles()[0]);
    QCOMPARE(caption("按钮1"), QStringLiteral("目录解析"));
    QCOMPARE(caption("按钮4"), QStringLiteral("下载中"));

    QTRY_VERIFY_WITH_TIMEOUT(m_messages.count(QStringLiteral("标题"), closingMessage()) == 1,
                             kBatchTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(batchCommandsEnabled(), kBatchTimeoutMs);
    QVERIFY(!m_samples.commandsOpenWhileBusy);
    QCOMPARE_GT(m_samples.mostWorkers, 0);
    QCOMPARE_LE(m_samples.mostWorkers, kMaxWorkers);
    const QString difference =
        FirstDifference(bookFile(), expectedBookFile(RowsExcept(rowCount(), {0})));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// The ticks change between the batches; the second book holds only the rows ticked for it,
// while the rows left out keep the status the first batch gave them.
void EndToEndTest::secondDownloadOfTheListIsMergedAgain() {
    QVERIFY(startSite(BookSite(demo::Encoding::Gbk)));
    parse(site().tocAddress());
    QCOMPARE(rowCount(), site().book().chapterCount());
    const QString message = closingMessage();

    f().clickButton("按钮4");
    QTRY_VERIFY_WITH_TIMEOUT(m_messages.count(QStringLiteral("标题"), message) == 1,
                             kBatchTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(batchCommandsEnabled(), kBatchTimeoutMs);
    const QString first = FirstDifference(bookFile(), expectedBookFile(RowsExcept(rowCount(), {})));
    QVERIFY2(first.isEmpty(), qPrintable(first));
    // The message is modal to the window: the user waits for it to close before clicking on.
    QTRY_VERIFY_WITH_TIMEOUT(!f().window().findChild<QMessageBox*>(), kMessageGoneTimeoutMs);

    const std::vector<int> unticked = {0, 5, 10};
    for (int row : unticked) {
        QVERIFY(clickCheckBox(row));
    }
    f().clickButton("按钮4");
    QTRY_VERIFY_WITH_TIMEOUT(m_messages.count(QStringLiteral("标题"), message) == 2,
                             kBatchTimeoutMs);

    const QString second =
        FirstDifference(bookFile(), expectedBookFile(RowsExcept(rowCount(), unticked)));
    QVERIFY2(second.isEmpty(), qPrintable(second));
    for (int row = 0; row < rowCount(); ++row) {
        QCOMPARE(cell(row, 2), Gbk("下载完成"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(batchCommandsEnabled(), kBatchTimeoutMs);
    QCOMPARE(caption("按钮4"), QStringLiteral("下载"));
}

} // namespace quill::testing

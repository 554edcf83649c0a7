#include <map>
#include <mutex>

#include <QTest>

#include "app/qt_text.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "e2e_test.h"
#include "tests/support/local_server.h"

namespace quill::testing {
namespace {

constexpr int kCyclePages = 3;
constexpr int kChaptersPerCyclePage = 4;
// Far more requests than the chain needs; past it the pages stop answering, so a chain that
// never ends fails the test instead of holding it.
constexpr int kCycleRequestBound = 30;

std::string CyclePagePath(int page) {
    return "/toc/" + std::to_string(page) + "/";
}

Text CycleChapterTitle(int chapter) {
    return Gbk("第") + DecimalText(chapter) + Gbk("章");
}

std::string CyclePage(int page) {
    std::vector<std::pair<std::string, Text>> links;
    for (int i = 1; i <= kChaptersPerCyclePage; ++i) {
        const int chapter = (page - 1) * kChaptersPerCyclePage + i;
        links.emplace_back("/c/" + std::to_string(1000 + chapter) + ".html",
                           CycleChapterTitle(chapter));
    }
    return FixtureTocPage("环形目录最新章节", links, CyclePagePath(page % kCyclePages + 1));
}

// A table of contents whose last page links "下一页" back to the first; it counts the requests
// each page gets.
class CycleSite final {
  public:
    CycleSite() {
        for (int page = 1; page <= kCyclePages; ++page) {
            m_server.server().Get(CyclePagePath(page), [this, page](const httplib::Request&,
                                                                    httplib::Response& response) {
                if (countRequest(page) <= kCycleRequestBound) {
                    response.set_content(CyclePage(page), "text/html; charset=gbk");
                }
            });
        }
        m_server.start();
    }

    std::string address() const { return m_server.url(CyclePagePath(1)); }
    int requests(int page) {
        std::lock_guard lock(m_mutex);
        return m_requests[page];
    }

  private:
    // The requests of all pages so far, this one included.
    int countRequest(int page) {
        std::lock_guard lock(m_mutex);
        ++m_total;
        ++m_requests[page];
        return m_total;
    }

    std::mutex m_mutex;
    std::map<int, int> m_requests;
    int m_total = 0;
    // Last, so that it stops before what its handlers touch goes.
    LocalServer m_server;
};

} // namespace

void EndToEndTest::parseListsEveryChapterOfTheSite_data() {
    QTest::addColumn<int>("encoding");
    QTest::addColumn<int>("chapters");
    QTest::addColumn<int>("pageSize");
    const auto gbk = static_cast<int>(demo::Encoding::Gbk);
    const auto utf8 = static_cast<int>(demo::Encoding::Utf8);
    QTest::newRow("gbkOnePage") << gbk << 30 << 50;
    QTest::newRow("gbkThreePages") << gbk << 120 << 50;
    QTest::newRow("gbkFourPagesShortLast") << gbk << 23 << 6;
    QTest::newRow("utf8ThreePages") << utf8 << 120 << 50;
}

void EndToEndTest::parseListsEveryChapterOfTheSite() {
    QFETCH(int, encoding);
    QFETCH(int, chapters);
    QFETCH(int, pageSize);
    demo::SiteOptions options;
    options.encoding = static_cast<demo::Encoding>(encoding);
    options.book.chapters = chapters;
    options.book.tocPageSize = pageSize;
    QVERIFY(startSite(options));

    parse(site().tocAddress());

    expectBookListed(site().book());
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(caption("标签1"),
             ToQString(site().book().title()) + QStringLiteral("--章节列表获取完毕！"));
    QCOMPARE(caption("按钮1"), QStringLiteral("目录解析"));
    QVERIFY(timer()->isActive());
    QCOMPARE(timer()->interval(), 300);
    QCOMPARE(m_messages.total(), 0);
}

void EndToEndTest::nextPageCycleEndsWithEachChapterOnce() {
    CycleSite cycle;

    parse(cycle.address());

    QCOMPARE(rowCount(), kCyclePages * kChaptersPerCyclePage);
    for (int row = 0; row < rowCount(); ++row) {
        QCOMPARE(cell(row, 1), CycleChapterTitle(row + 1));
    }
    for (int page = 1; page <= kCyclePages; ++page) {
        QCOMPARE(cycle.requests(page), 1);
    }
    QCOMPARE(caption("标签1"), QStringLiteral("环形目录--章节列表获取完毕！"));
    QCOMPARE(caption("按钮1"), QStringLiteral("目录解析"));
}

void EndToEndTest::unreachableAddressEmptiesTheListWithoutMessage() {
    QVERIFY(startSite(BookSite(demo::Encoding::Gbk)));
    parse(site().tocAddress());
    QCOMPARE(rowCount(), site().book().chapterCount());

    parse("http://127.0.0.1:" + std::to_string(UnusedPort()) + "/book/1/");

    QCOMPARE(rowCount(), 0);
    QVERIFY(f().state().ChapterUrls.empty());
    QCOMPARE(f().state().BookTitle, Text());
    QCOMPARE(caption("标签1"), QStringLiteral("--章节列表获取完毕！"));
    QCOMPARE(caption("按钮1"), QStringLiteral("目录解析"));
    QVERIFY(timer()->isActive());
    QCOMPARE(m_messages.total(), 0);
}

} // namespace quill::testing

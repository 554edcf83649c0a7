#include <QTest>

#include "app/edit_boxes.h"
#include "app/qt_text.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "e2e_test.h"
#include "tests/support/local_server.h"

namespace quill::testing {
namespace {

constexpr int kDeadChapters = 4;

Text DeadChapterTitle(int chapter) {
    return Gbk("第") + DecimalText(chapter) + Gbk("章");
}

// A table of contents whose chapters live on a port nobody listens on.
std::string DeadChaptersPage() {
    const std::string host = "http://127.0.0.1:" + std::to_string(UnusedPort());
    std::vector<std::pair<std::string, Text>> links;
    for (int chapter = 1; chapter <= kDeadChapters; ++chapter) {
        links.emplace_back(host + "/c/" + std::to_string(1000 + chapter) + ".html",
                           DeadChapterTitle(chapter));
    }
    return FixtureTocPage("断链之书最新章节", links, "");
}

QString LoadedCaption(const Text& title) {
    return ToQString(title) + QStringLiteral("--加载完毕！");
}

} // namespace

void EndToEndTest::doubleClickShowsTheChapterWithItsTitle_data() {
    QTest::addColumn<int>("encoding");
    QTest::addColumn<int>("row");
    const auto gbk = static_cast<int>(demo::Encoding::Gbk);
    QTest::newRow("firstRow") << gbk << 0;
    QTest::newRow("twoParts") << gbk << 1;
    QTest::newRow("threeParts") << gbk << 4;
    QTest::newRow("lastRow") << gbk << 11;
    QTest::newRow("utf8ThreeParts") << static_cast<int>(demo::Encoding::Utf8) << 4;
}

void EndToEndTest::doubleClickShowsTheChapterWithItsTitle() {
    QFETCH(int, encoding);
    QFETCH(int, row);
    QVERIFY(startSite(BookSite(static_cast<demo::Encoding>(encoding))));
    parse(site().tocAddress());
    QCOMPARE(rowCount(), site().book().chapterCount());

    openRow(row);

    const QString difference = FirstDifference(shownChapter(), expectedViewerText(row));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(caption("标签2"), LoadedCaption(site().book().chapterTitles()[row]));
    QCOMPARE(caption("标签1"), QStringLiteral("章节列表"));
    QCOMPARE(f().state().CurrentChapter, row);
}

void EndToEndTest::nextBeforeAnyChapterOpensTheSecondRow() {
    QVERIFY(startSite(BookSite(demo::Encoding::Gbk)));
    parse(site().tocAddress());

    f().clickButton("按钮3");

    QCOMPARE(f().list()->selectedRow(), 1);
    QCOMPARE(f().state().CurrentChapter, 1);
    QCOMPARE(caption("标签2"), LoadedCaption(site().book().chapterTitles()[1]));
    const QString difference = FirstDifference(shownChapter(), expectedViewerText(1));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// The shown text is emptied by a double-click first, so a command that reloaded the same
// chapter would show.
void EndToEndTest::previousOnFirstAndNextOnLastChangeNothing() {
    QVERIFY(startSite(BookSite(demo::Encoding::Gbk)));
    parse(site().tocAddress());
    auto* shown = f().find<ClearingTextEdit>("编辑框2");
    const int last = rowCount() - 1;
    const struct {
        int row;
        const char* button;
    } edges[] = {{0, "按钮2"}, {last, "按钮3"}};

    for (const auto& edge : edges) {
        openRow(edge.row);
        const QString loaded = caption("标签2");
        QCOMPARE(loaded, LoadedCaption(site().book().chapterTitles()[edge.row]));
        QTest::mouseDClick(shown->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(shownChapter(), Text());

        f().clickButton(edge.button);

        QCOMPARE(shownChapter(), Text());
        QCOMPARE(caption("标签2"), loaded);
        QCOMPARE(f().list()->selectedRow(), edge.row);
        QCOMPARE(f().state().CurrentChapter, edge.row);
    }
}

void EndToEndTest::unreachableChapterShowsItsTitleLine() {
    const std::string page = DeadChaptersPage();
    LocalServer toc;
    toc.server().Get("/dead/", [&page](const httplib::Request&, httplib::Response& response) {
        response.set_content(page, "text/html; charset=gbk");
    });
    toc.start();
    parse(toc.url("/dead/"));
    QCOMPARE(rowCount(), kDeadChapters);

    openRow(2);

    QCOMPARE(shownChapter(), DeadChapterTitle(3) + "\r\n");
    QCOMPARE(caption("标签2"), LoadedCaption(DeadChapterTitle(3)));
    QCOMPARE(m_messages.total(), 0);
}

} // namespace quill::testing

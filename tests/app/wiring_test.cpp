#include <chrono>
#include <condition_variable>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "app/chapter_list.h"
#include "app/edit_boxes.h"
#include "app/qt_text.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "tests/support/local_server.h"
#include "web/fetch_page.h"
#include "window_fixture.h"

namespace quill {
namespace {

const char kGbkHtml[] = "text/html; charset=gbk";

std::string ChapterNumber(int chapter) {
    return DecimalText(1000 + chapter);
}

const char* const kChapterNames[] = {"第一章", "第二章", "第三章", "第四章",
                                     "第五章", "第六章", "第七章", "第八章"};

// Chapters first..last of a table-of-contents page, and its "下一页" link when `next` is set.
std::string TocPage(int first, int last, const std::string& next) {
    Text page = Gbk("<html><head><title>测试书最新章节_小站</title></head><body><ul>");
    for (int chapter = first; chapter <= last; ++chapter) {
        page += "<li><a href=\"/b/1/" + ChapterNumber(chapter) + ".html\">" +
                Gbk(kChapterNames[chapter - 1]) + "</a></li>";
    }
    if (!next.empty()) {
        page += "<a href=\"" + next + Gbk("\">下一页</a>");
    }
    return page + "</ul></body></html>";
}

Text ChapterBody(int chapter) {
    return Gbk("天下大势，分久必合，合久必分。此乃正文第") + DecimalText(chapter) + Gbk("段。");
}

std::string ChapterPage(int chapter) {
    return "<html><body><div class=\"nav\">home</div><div id=\"content\">" + ChapterBody(chapter) +
           "</div></body></html>";
}

// Holds one chapter's answer until the window thread lets it go, so a test can see what the
// window does while a fetch runs.
class Gate final {
  public:
    void hold(int chapter) {
        std::lock_guard lock(m_mutex);
        m_heldChapter = chapter;
    }
    void open() {
        std::lock_guard lock(m_mutex);
        m_heldChapter = 0;
        m_changed.notify_all();
    }
    void pass(int chapter) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(20),
                           [this, chapter] { return m_heldChapter != chapter; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_heldChapter = 0;
};

Text ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), {});
}

} // namespace

class WiringTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::LocalServer> m_server;
    std::unique_ptr<testing::WindowFixture> m_fixture;
    Gate m_gate;

    testing::WindowFixture& f() { return *m_fixture; }
    QString text(const char* name) {
        if (auto* label = f().find<QLabel>(name)) {
            return label->text();
        }
        return f().find<QPushButton>(name)->text();
    }
    QTimer* timer() { return f().window().findChild<QTimer*>(QStringLiteral("时钟1")); }

    void serveBook() {
        httplib::Server& server = m_server->server();
        server.Get("/b/1/", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(TocPage(1, 4, "/b/1/index_page_2.html"), kGbkHtml);
        });
        server.Get("/b/1/index_page_2.html",
                   [](const httplib::Request&, httplib::Response& response) {
                       response.set_content(TocPage(5, 8, ""), kGbkHtml);
                   });
        server.Get(R"(/b/1/10(\d\d)\.html)",
                   [this](const httplib::Request& request, httplib::Response& response) {
                       const int chapter = std::stoi(request.matches[1].str());
                       m_gate.pass(chapter);
                       response.set_content(ChapterPage(chapter), kGbkHtml);
                   });
    }

    void parseBook() {
        QTest::keyClicks(f().find<QLineEdit>("编辑框1"),
                         QString::fromStdString(m_server->url("/b/1/")));
        f().clickButton("按钮1");
    }

    QString shownChapter() { return f().find<ClearingTextEdit>("编辑框2")->toPlainText(); }

  private slots:
    void initTestCase() {
        InitWeb();
        m_server = std::make_unique<testing::LocalServer>();
        // Stopping waits for idle kept-alive connections; keep that wait short.
        m_server->server().set_keep_alive_timeout(1);
        serveBook();
        m_server->start();
    }
    void cleanupTestCase() { m_server.reset(); }

    void init() { m_fixture = std::make_unique<testing::WindowFixture>(); }

    void cleanup() {
        m_gate.open();
        m_fixture.reset();
    }

    void parseFillsTheListFromBothPagesAndStartsTheTimer() {
        parseBook();
        const Controls& controls = f().window().controls();
        QCOMPARE(controls.rowCount(), 8);
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(controls.cellText(row, 0), DecimalText(row + 1));
            QCOMPARE(controls.cellText(row, 1), Gbk(kChapterNames[row]));
            QCOMPARE(controls.cellText(row, 2), Gbk("待下载"));
            QVERIFY(controls.rowTicked(row));
        }
        QCOMPARE(f().state().ChapterUrls.back(), m_server->url("/b/1/1008.html"));
        QCOMPARE(f().state().BookTitle, Gbk("测试书"));
        QCOMPARE(f().state().SiteRoot, m_server->url(""));
        QCOMPARE(text("标签1"), QStringLiteral("测试书--章节列表获取完毕！"));
        QCOMPARE(text("按钮1"), QStringLiteral("目录解析"));
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 300);
    }

    void addressWithoutHttpIsRefused_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("noScheme") << QStringLiteral("h/book/1/");
        QTest::newRow("capitals") << QStringLiteral("HTTP://H/BOOK/1/");
        QTest::newRow("empty") << QString();
    }
    void addressWithoutHttpIsRefused() {
        QFETCH(QString, address);
        f().setChapters({"A"}, {"http://h/1.html"});
        f().find<QLineEdit>("编辑框1")->setText(address);
        f().clickButton("按钮1");
        QMessageBox* box = f().window().findChild<QMessageBox*>();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("请输入章节目录地址！"));
        QCOMPARE(box->windowTitle(), QStringLiteral("提示："));
        QCOMPARE(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        QTRY_VERIFY_WITH_TIMEOUT(f().window().findChild<QMessageBox*>() == nullptr, 10000);
        QCOMPARE(f().find<QLineEdit>("编辑框1")->text(), QString());
        QCOMPARE(f().window().controls().rowCount(), 1);
        QCOMPARE(text("按钮1"), QStringLiteral("目录解析"));
        QVERIFY(!timer()->isActive());
    }

    void viewerShowsTheChapterWhileTheWindowKeepsServingEvents() {
        parseBook();
        m_gate.hold(2);
        QString labelDuringFetch;
        QTimer::singleShot(0, this, [this, &labelDuringFetch] {
            labelDuringFetch = text("标签2");
            m_gate.open();
        });
        ChapterList* list = f().list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, f().rowPoint(1));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, f().rowPoint(1));
        QCOMPARE(labelDuringFetch, QStringLiteral("章节内容加载中。。。"));
        QCOMPARE(f().state().CurrentChapter, 1);
        QCOMPARE(ToTextLines(shownChapter()), Gbk("第二章") + "\r\n" + ChapterBody(2));
        QCOMPARE(text("标签2"), QStringLiteral("第二章--加载完毕！"));
        QCOMPARE(text("标签1"), QStringLiteral("章节列表"));
    }

    void previousAndNextFollowTheirConditions() {
        parseBook();
        f().clickButton("按钮2");
        QCOMPARE(text("标签2"), QStringLiteral("内容"));
        QCOMPARE(f().state().CurrentChapter, 0);
        f().clickButton("按钮3");
        QCOMPARE(f().state().CurrentChapter, 1);
        QCOMPARE(f().list()->selectedRow(), 1);
        QCOMPARE(text("标签2"), QStringLiteral("第二章--加载完毕！"));
        f().state().CurrentChapter = 7;
        f().clickButton("按钮3");
        QCOMPARE(f().state().CurrentChapter, 7);
        QCOMPARE(text("标签2"), QStringLiteral("第二章--加载完毕！"));
        f().clickButton("按钮2");
        QCOMPARE(f().list()->selectedRow(), 6);
        QVERIFY(shownChapter().contains(ToQString(ChapterBody(7))));
    }

    void nextSelectsItsRowWithoutScrolling() {
        TextArray titles;
        TextArray urls;
        for (int i = 0; i < 90; ++i) {
            titles.push_back(Gbk("章") + DecimalText(i));
            urls.push_back(m_server->url("/b/1/1001.html"));
        }
        f().setChapters(titles, urls);
        f().state().CurrentChapter = 60;
        QScrollBar* scroll = f().list()->verticalScrollBar();
        QTRY_VERIFY(scroll->maximum() > 0);
        scroll->setValue(0);
        f().clickButton("按钮3");
        QCOMPARE(f().list()->selectedRow(), 61);
        QCOMPARE(f().list()->currentIndex().row(), 61);
        QCOMPARE(scroll->value(), 0);
    }

    void doubleClickWithoutSelectionDoesNothing() {
        parseBook();
        QTest::mouseDClick(f().list()->viewport(), Qt::LeftButton, {}, f().belowRows());
        QCOMPARE(text("标签2"), QStringLiteral("内容"));
        QCOMPARE(f().state().CurrentChapter, 0);
    }

    void downloadWritesTheBookAndGivesTheCommandsBack() {
        parseBook();
        f().list()->setRowTicked(2, false);
        f().clickButton("按钮4");
        QCOMPARE(text("按钮4"), QStringLiteral("下载中"));
        QVERIFY(!f().find<QPushButton>("按钮1")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(f().find<QPushButton>("按钮1")->isEnabled(), 60000);
        QCOMPARE(text("按钮4"), QStringLiteral("下载"));
        QVERIFY(!timer()->isActive());
        const Text book = ReadFile(f().window().outputDirectory() / "测试书.txt");
        QVERIFY(FindText(book, ChapterBody(1)) != -1);
        QVERIFY(FindText(book, ChapterBody(8)) != -1);
        QCOMPARE(FindText(book, ChapterBody(3)), -1);
        QVERIFY(FindText(book, ChapterBody(2)) < FindText(book, ChapterBody(4)));
        QCOMPARE(f().window().controls().cellText(2, 2), Gbk("待下载"));
        QCOMPARE(f().window().controls().cellText(3, 2), Gbk("下载完成"));
    }
};

} // namespace quill

QTEST_MAIN(quill::WiringTest)
#include "wiring_test.moc"

#include "e2e_test.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTest>

#include "app/edit_boxes.h"
#include "app/qt_text.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "tests/support/local_server.h"
#include "web/fetch_page.h"

namespace quill::testing {
namespace {

// Whole characters for a few dozen bytes from `from` on, line breaks made visible.
QString Excerpt(const Text& text, std::size_t from) {
    std::size_t end = std::min(from, text.size());
    while (end < text.size() && end < from + 48) {
        end += static_cast<std::size_t>(CharWidthAt(text, end));
    }
    QString excerpt = ToQString(text.substr(from, end - from));
    return excerpt.replace(QLatin1Char('\r'), QStringLiteral("\\r"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

// Where an excerpt around byte `at` starts: on a character's first byte, some way before it.
std::size_t ExcerptStart(const Text& text, std::size_t at) {
    std::size_t from = 0;
    while (from + 16 < at) {
        from += static_cast<std::size_t>(CharWidthAt(text, from));
    }
    return from;
}

} // namespace

int ShownMessages::count(const QString& caption, const QString& text) const {
    return static_cast<int>(std::count(m_shown.begin(), m_shown.end(), std::pair(caption, text)));
}

bool ShownMessages::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (const auto* box = qobject_cast<QMessageBox*>(watched)) {
            m_shown.emplace_back(box->windowTitle(), box->text());
        }
    }
    return false;
}

demo::SiteOptions BookSite(demo::Encoding encoding, int delayMs) {
    demo::SiteOptions options;
    // Twelve rows put row 10 after row 9 in the book; five a page gives three pages.
    options.book.chapters = 12;
    options.book.tocPageSize = 5;
    options.encoding = encoding;
    options.delayMs = delayMs;
    return options;
}

int UnusedPort() {
    LocalServer server;
    server.start();
    return server.port();
}

std::string FixtureTocPage(const char* bookTitle,
                           const std::vector<std::pair<std::string, Text>>& links,
                           const std::string& next) {
    Text page = "<html><head><meta charset=\"gbk\"><title>" + Gbk(bookTitle) +
                "</title></head><body>\r\n<ul>\r\n";
    for (const auto& [address, title] : links) {
        page += "<li><a href=\"" + address + "\">" + title + "</a></li>\r\n";
    }
    if (!next.empty()) {
        page += "<a href=\"" + next + Gbk("\">下一页</a>\r\n");
    }
    return page + "</ul></body></html>";
}

QString FirstDifference(const Text& actual, const Text& expected) {
    const auto parted =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (parted.first == actual.end() && parted.second == expected.end()) {
        return {};
    }
    const auto at = static_cast<std::size_t>(parted.first - actual.begin());
    const std::size_t from = ExcerptStart(actual, at);
    return QStringLiteral("%1 bytes against %2 expected; first difference at byte %3: got \"%4\", "
                          "expected \"%5\"")
        .arg(actual.size())
        .arg(expected.size())
        .arg(at)
        .arg(Excerpt(actual, from), Excerpt(expected, from));
}

bool EndToEndTest::startSite(const demo::SiteOptions& options) {
    m_site = std::make_unique<demo::DemoSite>(options);
    return m_site->start();
}

void EndToEndTest::pasteAddress(const std::string& address) {
    auto* box = f().find<QLineEdit>("编辑框1");
    QGuiApplication::clipboard()->setText(QString::fromStdString(address));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

void EndToEndTest::parse(const std::string& address) {
    pasteAddress(address);
    f().clickButton("按钮1");
}

// Clicks where the style draws the row's check box; false when the tick did not change.
bool EndToEndTest::clickCheckBox(int row) {
    ChapterList* list = f().list();
    const QModelIndex index = list->model()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    option.widget = list;
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    const bool before = ticked(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    return ticked(row) != before;
}

void EndToEndTest::openRow(int row) {
    ChapterList* list = f().list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, f().rowPoint(row));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, f().rowPoint(row));
}

// Connected after the window's own handler, so each sample sees what that tick has just shown.
void EndToEndTest::watchBatch() {
    m_samples = {};
    connect(timer(), &QTimer::timeout, &f().window(), [this] {
        const QString shown = caption("标签3");
        const int workers = shown.mid(QStringLiteral("线程：").size()).toInt();
        ++m_samples.ticks;
        m_samples.mostWorkers = std::max(m_samples.mostWorkers, workers);
        if (workers > 0 && batchCommandsEnabled()) {
            m_samples.commandsOpenWhileBusy = true;
        }
    });
}

QString EndToEndTest::caption(const char* name) const {
    if (const auto* label = f().find<QLabel>(name)) {
        return label->text();
    }
    return f().find<QPushButton>(name)->text();
}

QTimer* EndToEndTest::timer() const {
    return f().window().findChild<QTimer*>(QStringLiteral("时钟1"));
}

int EndToEndTest::rowCount() const {
    return f().list()->topLevelItemCount();
}

Text EndToEndTest::cell(int row, int column) const {
    const QTreeWidgetItem* item = f().list()->topLevelItem(row);
    return item ? ToText(item->text(column)) : Text();
}

bool EndToEndTest::ticked(int row) const {
    return f().list()->rowTicked(row);
}

Text EndToEndTest::shownChapter() const {
    return ToTextLines(f().find<ClearingTextEdit>("编辑框2")->toPlainText());
}

bool EndToEndTest::batchCommandsEnabled() const {
    for (const char* name : {"按钮1", "按钮9", "按钮4"}) {
        if (!f().find<QPushButton>(name)->isEnabled()) {
            return false;
        }
    }
    return true;
}

void EndToEndTest::expectBookListed(const demo::DemoBook& book) {
    QCOMPARE(rowCount(), book.chapterCount());
    for (int row = 0; row < book.chapterCount(); ++row) {
        QCOMPARE(cell(row, 0), DecimalText(row + 1));
        QCOMPARE(cell(row, 1), book.chapterTitles()[row]);
        QCOMPARE(cell(row, 2), Gbk("待下载"));
        QVERIFY(ticked(row));
    }
    QCOMPARE(f().state().ChapterUrls, site().chapterAddresses());
}

// The chapter as the site's source text has it, the title line added only when it lacks one.
Text EndToEndTest::expectedViewerText(int row) const {
    const Text& title = site().book().chapterTitles()[row];
    const Text text = site().book().chapterText(row);
    return FindText(text, title) == -1 ? title + "\r\n" + text : text;
}

Text EndToEndTest::expectedBookFile(const std::vector<int>& tickedRows) const {
    Text book = site().book().title() + "\r\n";
    for (int row : tickedRows) {
        book += site().book().chapterTitles()[row] + "\r\n" + expectedViewerText(row) + "\r\n";
    }
    return book;
}

Text EndToEndTest::bookFile() const {
    const auto name = ConvertGbkToUtf8(site().book().title()) + ".txt";
    std::ifstream in(f().window().outputDirectory() / name, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), {});
}

QString EndToEndTest::closingMessage() const {
    return QStringLiteral("《") + ToQString(site().book().title()) +
           QStringLiteral("》下载完毕，合并完成！");
}

void EndToEndTest::initTestCase() {
    InitWeb();
    qApp->installEventFilter(&m_messages);
}

void EndToEndTest::cleanupTestCase() {
    qApp->removeEventFilter(&m_messages);
}

void EndToEndTest::init() {
    m_messages.clear();
    m_samples = {};
    m_fixture = std::make_unique<WindowFixture>();
    QVERIFY(f().isActive());
}

void EndToEndTest::cleanup() {
    m_fixture.reset();
    m_site.reset();
}

} // namespace quill::testing

QTEST_MAIN(quill::testing::EndToEndTest)

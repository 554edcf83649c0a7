#include <memory>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/chapter_list.h"
#include "app/edit_boxes.h"
#include "app/qt_text.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "window_fixture.h"

namespace quill {
namespace {

// The help text as the user reads it at start-up; line 10 ends in a space.
const char* const kHelpLines[] = {
    "使用说明:双击编辑框清空。",
    "请在上面编辑框输入目录页地址（无翻页是全章节的目录页地址，有翻页需输入首目录页地址）然后点击目"
    "录解析，解析成功可在左边列表显示解析到的所有章节名。双击任意章节名可在右边的编辑框显示对应章节"
    "内容。右键单击章节名可以复制该章节对应链接。可以选择下载或者在右边点上一章和下一章查看阅读。",
    "点击下载前，可以单击列表里ID的检查框来选择下载范围，因为可能需要手动排除一些非章节的内容不下载"
    "。列表下面的全选按钮是将所有检查框都选中。反选是将已选中的变成未选中，未选中的变成选中。如果发"
    "现章节顺序反了可以点击倒序按钮。",
    "建议下载前，先通过双击章名查看内容是否正常，如果右边编辑框无内容或显示的不是正常章节内容可以勾"
    "选预处理，如果显示内容乱码可以勾选转码。",
    "如果右边章节内容出现较多不需要的内容可以启用正则过滤内容，",
    "需要自写正则表达式，每行写一个，程序会把匹配的内容删掉。",
    "正则表达式具体写法请百度查详细教程，下面给几个常用的，特意增加了2个快捷插入按钮。",
    "匹配一行内一般用.*?  .表示匹配任意字符（不包括换行符），",
    "*表示匹配前一个字符零次或多次，?表示匹配或不匹配，+表示匹配前一个字符一次或多次",
    "匹配多行用[\\S\\s]*? []表示里面任意选择一个 ",
    "\\S表示任意非空字符",
    "\\s表示任意空字符，比如空格、制表符和换行符等",
    "\\d表示数字[0-9]中任意一个数字",
    "-表示范围",
    "\\w表示[0-9A-Za-z_]",
    "一般情况只需要改写成",
    "单行:起始字符串.*?终止字符串",
    "多行:起始字符串[\\S\\s]*?终止字符串",
    "起始和终止字符串可以有一个不存在，存在尽量选唯一出现的，以免把不该替换的删掉。",
};

Text ExpectedHelpText() {
    TextArray lines;
    for (const char* line : kHelpLines) {
        lines.push_back(Gbk(line));
    }
    return JoinTexts(lines, "\r\n");
}

TextArray GbkTexts(std::initializer_list<const char*> utf8) {
    TextArray texts;
    for (const char* text : utf8) {
        texts.push_back(Gbk(text));
    }
    return texts;
}

const TextArray kTitles = GbkTexts({"第一章", "第二章", "第三章", "第四章", "第五章", "第六章"});
const TextArray kUrls = {"http://h/b/1.html", "http://h/b/2.html", "http://h/b/3.html",
                         "http://h/b/4.html", "http://h/b/5.html", "http://h/b/6.html"};

const QString kSentinel = QStringLiteral("clipboard before");

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::WindowFixture> m_fixture;

    testing::WindowFixture& f() { return *m_fixture; }
    ChapterList* list() { return f().list(); }
    ClearingTextEdit* filterBox() { return f().find<ClearingTextEdit>("编辑框3"); }
    QCheckBox* enableBox() { return f().find<QCheckBox>("选择框1"); }
    QString clipboardText() { return QGuiApplication::clipboard()->text(); }

    std::vector<bool> ticks() {
        std::vector<bool> result;
        for (int row = 0; row < f().window().controls().rowCount(); ++row) {
            result.push_back(f().window().controls().rowTicked(row));
        }
        return result;
    }

    void rightPress(const QPoint& point) {
        QTest::mousePress(list()->viewport(), Qt::RightButton, {}, point);
        QTest::mouseRelease(list()->viewport(), Qt::RightButton, {}, point);
    }

    void expectRow(int row, const Text& number, const Text& title, const Text& status,
                   bool ticked) {
        const Controls& controls = f().window().controls();
        QCOMPARE(controls.cellText(row, 0), number);
        QCOMPARE(controls.cellText(row, 1), title);
        QCOMPARE(controls.cellText(row, 2), status);
        QCOMPARE(controls.rowTicked(row), ticked);
    }

    // Gives the filter box the focus with the caret (or a selection) where a test wants it.
    void placeFilterCaret(const QString& text, int anchor, int position) {
        enableBox()->setChecked(true);
        filterBox()->setPlainText(text);
        filterBox()->setFocus();
        QTextCursor cursor = filterBox()->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        filterBox()->setTextCursor(cursor);
    }

    Text filterText() { return ToTextLines(filterBox()->toPlainText()); }

  private slots:
    void init() {
        m_fixture = std::make_unique<testing::WindowFixture>();
        QVERIFY(f().isActive());
        QGuiApplication::clipboard()->setText(kSentinel);
    }
    void cleanup() { m_fixture.reset(); }

    void startsWithEmptyListAndAddress() {
        QCOMPARE(list()->topLevelItemCount(), 0);
        QCOMPARE(f().window().controls().rowCount(), 0);
        QCOMPARE(f().find<QLineEdit>("编辑框1")->text(), QString());
        QCOMPARE(f().window().controls().addressText(), Text());
    }

    void startsWithTheHelpTextByteForByte() {
        const QString shown = f().find<ClearingTextEdit>("编辑框2")->toPlainText();
        QCOMPARE(ToTextLines(shown), ExpectedHelpText());
        QCOMPARE(shown.count(QLatin1Char('\n')), 18);
    }

    void startsWithDisabledPlaceholderRules() {
        QCOMPARE(filterText(), Gbk("过滤规则1\r\n过滤规则2\r\n过滤规则3"));
        QVERIFY(!filterBox()->isEnabled());
        QCOMPARE(f().window().controls().filterRules(), filterText());
    }

    void startsWithUntickedCheckBoxes() {
        for (const char* name : {"选择框1", "选择框2", "选择框3"}) {
            QVERIFY2(!f().find<QCheckBox>(name)->isChecked(), name);
        }
        const Controls& controls = f().window().controls();
        QVERIFY(!controls.filterEnabled() && !controls.transcodeTicked() &&
                !controls.preprocessTicked());
    }

    void windowIsFixedWithoutMaximizeButton() {
        QCOMPARE(f().window().windowTitle(), QStringLiteral("Quillarch(Morvenhall)"));
        QCOMPARE(f().window().minimumSize(), f().window().maximumSize());
        const Qt::WindowFlags flags = f().window().windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(f().window().width() >= 616 && f().window().height() >= 432);
    }

    void controlSitsAtItsPlaceWithItsCaption_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("caption");
        const struct {
            const char* name;
            QRect place;
            const char* caption;
        } controls[] = {
            {"编辑框1", {8, 8, 464, 32}, ""},
            {"按钮1", {480, 8, 64, 32}, "目录解析"},
            {"选择框2", {552, 4, 64, 16}, "转码"},
            {"选择框3", {552, 28, 64, 16}, "预处理"},
            {"标签1", {8, 48, 256, 16}, "章节列表"},
            {"标签2", {352, 48, 264, 16}, "内容"},
            {"超级列表框2", {8, 64, 336, 336}, ""},
            {"编辑框2", {352, 64, 264, 272}, ""},
            {"标签4", {352, 338, 80, 16}, "正则过滤内容"},
            {"选择框1", {440, 338, 56, 16}, "启用"},
            {"按钮7", {496, 340, 48, 16}, ".*?"},
            {"按钮8", {552, 340, 56, 16}, "[\\S\\s]*?"},
            {"编辑框3", {352, 360, 264, 48}, ""},
            {"按钮5", {8, 408, 40, 24}, "全选"},
            {"按钮6", {64, 408, 40, 24}, "反选"},
            {"按钮9", {120, 408, 40, 24}, "倒序"},
            {"标签3", {176, 408, 72, 24}, "线程："},
            {"按钮4", {272, 408, 48, 24}, "下载"},
            {"按钮2", {392, 408, 48, 24}, "上一章"},
            {"按钮3", {536, 408, 48, 24}, "下一章"},
        };
        for (const auto& control : controls) {
            QTest::newRow(control.name) << QString::fromUtf8(control.name) << control.place
                                        << QString::fromUtf8(control.caption);
        }
    }
    void controlSitsAtItsPlaceWithItsCaption() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, caption);
        auto* widget = f().window().findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), place);
        QVERIFY(widget->isVisible());
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QCOMPARE(button->text(), caption);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), caption);
        }
    }

    void timerIsIdleAtStart() {
        auto* timer = f().window().findChild<QTimer*>(QStringLiteral("时钟1"));
        QVERIFY(timer);
        QVERIFY(!timer->isActive());
    }

    void listHasThreeColumnsOfFixedWidths() {
        QCOMPARE(list()->columnCount(), 3);
        const QStringList headers = {QStringLiteral("ID"), QStringLiteral("章节名称"),
                                     QStringLiteral("下载状态")};
        const int widths[] = {50, 200, 60};
        for (int column = 0; column < 3; ++column) {
            QCOMPARE(list()->headerItem()->text(column), headers[column]);
            QCOMPARE(list()->columnWidth(column), widths[column]);
        }
        QCOMPARE(list()->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(list()->selectionBehavior(), QAbstractItemView::SelectRows);
    }

    void fillChapterListWithNoTitlesLeavesListEmpty() {
        FillChapterList(*list(), {});
        QCOMPARE(f().window().controls().rowCount(), 0);
    }

    void fillChapterListNumbersTicksAndMarksEveryRowWaiting() {
        FillChapterList(*list(), kTitles);
        QCOMPARE(f().window().controls().rowCount(), 6);
        for (int row = 0; row < 6; ++row) {
            expectRow(row, DecimalText(row + 1), kTitles[row], Gbk("待下载"), true);
        }
    }

    void tickAllTicksEveryRow() {
        f().setChapters(kTitles, kUrls);
        list()->setRowTicked(1, false);
        list()->setRowTicked(4, false);
        f().clickButton("按钮5");
        QCOMPARE(ticks(), std::vector<bool>(6, true));
    }

    void invertTwiceGivesBackTheTicks() {
        f().setChapters(kTitles, kUrls);
        list()->setRowTicked(0, false);
        list()->setRowTicked(3, false);
        const std::vector<bool> before = ticks();
        f().clickButton("按钮6");
        QCOMPARE(ticks(), (std::vector<bool>{true, false, false, true, false, false}));
        f().clickButton("按钮6");
        QCOMPARE(ticks(), before);
    }

    void tickCommandsOnEmptyListDoNothing() {
        for (const char* button : {"按钮5", "按钮6", "按钮9"}) {
            f().clickButton(button);
        }
        QCOMPARE(f().window().controls().rowCount(), 0);
        QVERIFY(f().state().ChapterUrls.empty());
    }

    void reverseRenumbersAndResetsTicksAndStatuses() {
        const TextArray titles = GbkTexts({"A", "B", "C"});
        f().setChapters(titles, {"u1", "u2", "u3"});
        list()->setRowTicked(0, false);
        f().window().controls().setCellText(0, 2, Gbk("下载完成"));
        f().clickButton("按钮9");
        expectRow(0, "1", "C", Gbk("待下载"), true);
        expectRow(1, "2", "B", Gbk("待下载"), true);
        expectRow(2, "3", "A", Gbk("待下载"), true);
        QCOMPARE(f().state().ChapterUrls, (TextArray{"u3", "u2", "u1"}));
        QCOMPARE(f().state().ChapterTitles, (TextArray{"C", "B", "A"}));
    }

    void reverseTwiceGivesBackTheOrderAllTicked() {
        f().setChapters(kTitles, kUrls);
        list()->setRowTicked(2, false);
        f().clickButton("按钮9");
        f().clickButton("按钮9");
        QCOMPARE(f().state().ChapterUrls, kUrls);
        for (int row = 0; row < 6; ++row) {
            expectRow(row, DecimalText(row + 1), kTitles[row], Gbk("待下载"), true);
        }
    }

    void rightPressWithoutSelectionLeavesClipboard() {
        f().setChapters(kTitles, kUrls);
        rightPress(f().rowPoint(2));
        QCOMPARE(clipboardText(), kSentinel);
    }

    void rightPressCopiesTheRowSelectedBeforeThePress() {
        f().setChapters(kTitles, kUrls);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, f().rowPoint(4));
        QCOMPARE(list()->selectedRow(), 4);
        rightPress(f().rowPoint(1));
        QCOMPARE(clipboardText(), QString::fromStdString(kUrls[4]));
    }

    void rightPressBelowTheRowsCopiesToo() {
        f().setChapters(kTitles, kUrls);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, f().rowPoint(3));
        rightPress(f().belowRows());
        QCOMPARE(clipboardText(), QString::fromStdString(kUrls[3]));
    }

    void quickSecondRightPressCopiesAgain() {
        f().setChapters(kTitles, kUrls);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, f().rowPoint(2));
        rightPress(f().rowPoint(2));
        QGuiApplication::clipboard()->setText(kSentinel);
        // Qt reports a second press that follows quickly as a double-click.
        QTest::mouseDClick(list()->viewport(), Qt::RightButton, {}, f().rowPoint(2));
        QCOMPARE(clipboardText(), QString::fromStdString(kUrls[2]));
    }

    void spaceTogglesTheSelectedRowWhicheverColumnIsCurrent_data() {
        QTest::addColumn<int>("column");
        QTest::newRow("ID") << 0;
        QTest::newRow("title") << 1;
        QTest::newRow("status") << 2;
    }
    void spaceTogglesTheSelectedRowWhicheverColumnIsCurrent() {
        QFETCH(int, column);
        f().setChapters(kTitles, kUrls);
        list()->setFocus();
        list()->setCurrentItem(list()->topLevelItem(3), column);
        QTest::keyClick(list(), Qt::Key_Space);
        QVERIFY(!list()->rowTicked(3));
        QTest::keyClick(list(), Qt::Key_Space);
        QVERIFY(list()->rowTicked(3));
        QCOMPARE(ticks(), std::vector<bool>(6, true));
    }

    void clickOnCheckBoxTogglesWithoutOpening() {
        f().setChapters(kTitles, kUrls);
        QSignalSpy opened(list(), &ChapterList::doubleClickedSelection);
        const QRect cell = list()->visualRect(list()->model()->index(2, 0));
        QPoint box;
        for (int x = cell.left(); x < cell.right() && box.isNull(); ++x) {
            const QPoint point(x, cell.center().y());
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, point);
            if (!list()->rowTicked(2)) {
                box = point;
            }
        }
        QVERIFY2(!box.isNull(), "no check box found in the ID cell");
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, box);
        QCOMPARE(opened.count(), 0);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, f().rowPoint(2));
        QCOMPARE(opened.count(), 1);
    }

    void doubleClickEmptiesEachBox_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("address") << QStringLiteral("编辑框1");
        QTest::newRow("content") << QStringLiteral("编辑框2");
        QTest::newRow("filter") << QStringLiteral("编辑框3");
    }
    void doubleClickEmptiesEachBox() {
        QFETCH(QString, name);
        enableBox()->setChecked(true);
        auto* address = f().find<QLineEdit>("编辑框1");
        address->setText(QStringLiteral("http://h/book/1/"));
        QWidget* box = f().window().findChild<QWidget*>(name);
        auto* textBox = qobject_cast<QPlainTextEdit*>(box);
        QTest::mouseDClick(textBox ? textBox->viewport() : box, Qt::LeftButton, {}, QPoint(20, 10));
        const QString left = textBox ? textBox->toPlainText() : address->text();
        QCOMPARE(left, QString());
        if (!textBox) {
            QCOMPARE(f().window().controls().addressText(), Text());
        }
    }

    void patternGoesInAtTheSnapshotCaret_data() {
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("filterCaret");
        QTest::addColumn<QByteArray>("expected");
        // Qt counts a line break one position, FilterCaret two.
        QTest::newRow("atStart") << 0 << 0 << 0
                                 << QByteArray::fromStdString(
                                        Gbk(".*?过滤规则1\r\n过滤规则2\r\n过滤规则3"));
        QTest::newRow("endOfSecondLine")
            << 11 << 11 << 12
            << QByteArray::fromStdString(Gbk("过滤规则1\r\n过滤规则2.*?\r\n过滤规则3"));
        QTest::newRow("atEnd") << 17 << 17 << 19
                               << QByteArray::fromStdString(
                                      Gbk("过滤规则1\r\n过滤规则2\r\n过滤规则3.*?"));
        QTest::newRow("selectionKeepsItsText")
            << 11 << 8 << 9
            << QByteArray::fromStdString(Gbk("过滤规则1\r\n过滤.*?规则2\r\n过滤规则3"));
    }
    void patternGoesInAtTheSnapshotCaret() {
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(int, filterCaret);
        QFETCH(QByteArray, expected);
        placeFilterCaret(QStringLiteral("过滤规则1\n过滤规则2\n过滤规则3"), anchor, position);
        f().clickButton("按钮7");
        QCOMPARE(f().state().FilterCaret, filterCaret);
        QCOMPARE(filterText(), expected.toStdString());
    }

    void secondPressStartsFromTheSameSnapshot() {
        placeFilterCaret(QStringLiteral("ab\ncd"), 4, 4);
        f().clickButton("按钮8");
        f().clickButton("按钮8");
        QCOMPARE(filterText(), Text("ab\r\nc[\\S\\s]*?d"));
    }

    void pressBeforeAnyFocusReplacesThePlaceholders() {
        f().clickButton("按钮7");
        QCOMPARE(filterText(), Text(".*?"));
    }

    void pressAfterEmptyingGivesThePatternAlone() {
        placeFilterCaret(QStringLiteral("rule"), 2, 2);
        QTest::mouseDClick(filterBox()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(filterBox()->toPlainText(), QString());
        f().clickButton("按钮7");
        QCOMPARE(filterText(), Text(".*?"));
    }

    void enableBoxEnablesAndDisablesTheRulesKeepingThem() {
        QTest::mouseClick(enableBox(), Qt::LeftButton);
        QVERIFY(filterBox()->isEnabled());
        QVERIFY(f().window().controls().filterEnabled());
        QTest::mouseClick(enableBox(), Qt::LeftButton);
        QVERIFY(!filterBox()->isEnabled());
        QVERIFY(!f().window().controls().filterEnabled());
        QCOMPARE(filterText(), Gbk("过滤规则1\r\n过滤规则2\r\n过滤规则3"));
    }
};

} // namespace quill

QTEST_MAIN(quill::MainWindowTest)
#include "main_window_test.moc"

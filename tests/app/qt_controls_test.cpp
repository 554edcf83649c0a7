#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/chapter_list.h"
#include "app/qt_text.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "window_fixture.h"

namespace quill {
namespace {

constexpr int kRows = 40;

TextArray NumberedTitles(int count) {
    TextArray titles;
    for (int i = 1; i <= count; ++i) {
        titles.push_back(Gbk("第") + DecimalText(i) + Gbk("章"));
    }
    return titles;
}

// Runs `body` on another thread and waits for it, without serving this thread's events.
template <typename Body> void OnOtherThread(Body body) {
    std::thread other(body);
    other.join();
}

} // namespace

class QtControlsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::WindowFixture> m_fixture;

    testing::WindowFixture& f() { return *m_fixture; }
    Controls& controls() { return f().window().controls(); }
    QTimer* timer() { return f().window().findChild<QTimer*>(QStringLiteral("时钟1")); }

  private slots:
    void init() {
        m_fixture = std::make_unique<testing::WindowFixture>();
        const TextArray titles = NumberedTitles(kRows);
        f().setChapters(titles, TextArray(titles.size(), "http://h/c.html"));
    }
    void cleanup() { m_fixture.reset(); }

    void readsFollowTheWidgetsAtOnce() {
        f().find<QLineEdit>("编辑框1")->setText(QStringLiteral("http://h/目录/"));
        f().find<QCheckBox>("选择框2")->setChecked(true);
        f().find<QPlainTextEdit>("编辑框3")->setPlainText(QStringLiteral("广告\n推荐"));
        f().list()->setRowTicked(5, false);
        f().list()->topLevelItem(6)->setText(1, QStringLiteral("改名"));
        QCOMPARE(controls().addressText(), Gbk("http://h/目录/"));
        QVERIFY(controls().transcodeTicked());
        QCOMPARE(controls().filterRules(), Gbk("广告\r\n推荐"));
        QVERIFY(!controls().rowTicked(5));
        QCOMPARE(controls().cellText(6, 1), Gbk("改名"));
        delete f().list()->takeTopLevelItem(0);
        QCOMPARE(controls().rowCount(), kRows - 1);
        QCOMPARE(controls().cellText(0, 0), Text("2"));
        f().list()->clear();
        QCOMPARE(controls().rowCount(), 0);
    }

    void missingRowsReadEmpty() {
        QCOMPARE(controls().cellText(kRows, 0), Text());
        QCOMPARE(controls().cellText(-1, 1), Text());
        QCOMPARE(controls().cellText(0, 3), Text());
        QVERIFY(!controls().rowTicked(kRows));
        controls().setCellText(kRows, 2, "x");
        QCOMPARE(controls().rowCount(), kRows);
    }

    void writeFromAnotherThreadArrivesOnTheWindowThread() {
        OnOtherThread([this] { controls().setCellText(3, 2, Gbk("下载完成")); });
        QCOMPARE(f().list()->topLevelItem(3)->text(2), QStringLiteral("待下载"));
        QTRY_COMPARE(f().list()->topLevelItem(3)->text(2), QStringLiteral("下载完成"));
        QCOMPARE(controls().cellText(3, 2), Gbk("下载完成"));
    }

    void captionsReachTheirControls_data() {
        QTest::addColumn<int>("caption");
        QTest::addColumn<QString>("name");
        QTest::newRow("parse") << int(Caption::ParseButton) << QStringLiteral("按钮1");
        QTest::newRow("download") << int(Caption::DownloadButton) << QStringLiteral("按钮4");
        QTest::newRow("list") << int(Caption::ListLabel) << QStringLiteral("标签1");
        QTest::newRow("content") << int(Caption::ContentLabel) << QStringLiteral("标签2");
        QTest::newRow("workers") << int(Caption::WorkerLabel) << QStringLiteral("标签3");
    }
    void captionsReachTheirControls() {
        QFETCH(int, caption);
        QFETCH(QString, name);
        OnOtherThread([this, caption] {
            controls().setCaption(static_cast<Caption>(caption), Gbk("线程：3"));
        });
        QWidget* widget = f().window().findChild<QWidget*>(name);
        auto text = [widget] {
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                return button->text();
            }
            return qobject_cast<QLabel*>(widget)->text();
        };
        QTRY_COMPARE(text(), QStringLiteral("线程：3"));
    }

    void timerPeriodStartsAndStops() {
        controls().setTimerPeriod(300);
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 300);
        OnOtherThread([this] { controls().setTimerPeriod(0); });
        QTRY_VERIFY(!timer()->isActive());
        OnOtherThread([this] { controls().setTimerPeriod(50); });
        QTRY_VERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 50);
    }

    void batchCommandsAreDisabledTogether() {
        OnOtherThread([this] { controls().setBatchCommandsEnabled(false); });
        const char* const commands[] = {"按钮1", "按钮9", "按钮4"};
        for (const char* name : commands) {
            QTRY_VERIFY2(!f().find<QPushButton>(name)->isEnabled(), name);
        }
        QVERIFY(f().find<QPushButton>("按钮5")->isEnabled());
        controls().setBatchCommandsEnabled(true);
        for (const char* name : commands) {
            QVERIFY2(f().find<QPushButton>(name)->isEnabled(), name);
        }
    }

    void timedMessageNeverBlocksItsCallerAndClosesItself() {
        OnOtherThread([this] { controls().showTimedMessage(Gbk("完毕"), Gbk("提示："), 200); });
        QMessageBox* box = nullptr;
        QTRY_VERIFY((box = f().window().findChild<QMessageBox*>()) != nullptr);
        QCOMPARE(box->text(), QStringLiteral("完毕"));
        QCOMPARE(box->windowTitle(), QStringLiteral("提示："));
        QCOMPARE(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box->parentWidget(), &f().window());
        QTRY_VERIFY(f().window().findChild<QMessageBox*>() == nullptr);
    }

    // Workers read every kind of value and write cells and the timer while the window thread
    // changes the widgets; each read must be a value the window really held.
    void manyThreadsAgainstAChangingWindow() {
        const QString addresses[] = {QStringLiteral("http://a/目录/"), QStringLiteral("http://b/")};
        std::set<Text> written;
        for (const QString& address : addresses) {
            written.insert(ToText(address));
        }
        written.insert(Text());
        const TextArray titles = NumberedTitles(kRows);
        std::atomic<int> running{4};
        std::atomic<bool> allReadsValid{true};
        std::vector<std::thread> workers;
        for (int id = 0; id < 4; ++id) {
            workers.emplace_back([&, id] {
                for (int i = 0; i < 3000; ++i) {
                    const int row = (i + id) % kRows;
                    if (!written.count(controls().addressText())) {
                        allReadsValid = false;
                    }
                    const Text title = controls().cellText(row, 1);
                    if (!title.empty() && title != titles[row]) {
                        allReadsValid = false;
                    }
                    controls().rowTicked(row);
                    controls().transcodeTicked();
                    controls().preprocessTicked();
                    controls().filterEnabled();
                    controls().filterRules();
                    controls().rowCount();
                    controls().setCellText(row, 2, Gbk("下载完成"));
                    controls().setTimerPeriod(id % 2 ? 300 : 0);
                }
                --running;
            });
        }
        QDeadlineTimer deadline(120000);
        for (int i = 0; running > 0 && !deadline.hasExpired(); ++i) {
            f().find<QLineEdit>("编辑框1")->setText(addresses[i % 2]);
            f().find<QCheckBox>("选择框3")->setChecked(i % 2);
            f().find<QPlainTextEdit>("编辑框3")->setPlainText(QString::number(i));
            f().list()->setRowTicked(i % kRows, i % 3 != 0);
            QCoreApplication::processEvents();
        }
        for (std::thread& worker : workers) {
            worker.join();
        }
        QVERIFY(allReadsValid);
        QCoreApplication::processEvents();
        for (int row = 0; row < kRows; ++row) {
            QCOMPARE(f().list()->topLevelItem(row)->text(2), QStringLiteral("下载完成"));
        }
        controls().setTimerPeriod(300);
        QVERIFY(timer()->isActive());
    }
};

} // namespace quill

QTEST_MAIN(quill::QtControlsTest)
#include "qt_controls_test.moc"

#include <fstream>

#include <QTemporaryDir>
#include <QTest>

#include "app/filter_editor.h"
#include "app/list_commands.h"
#include "app/output_directory.h"
#include "core/codepage.h"
#include "core/text_rules.h"

namespace quill {
namespace {

QByteArray ByteArray(const Text& text) {
    return QByteArray::fromStdString(text);
}

QList<QByteArray> ByteList(const TextArray& texts) {
    QList<QByteArray> list;
    for (const Text& text : texts) {
        list.append(ByteArray(text));
    }
    return list;
}

} // namespace

class EditorRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void splitFilterText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("elements");
        QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
        QTest::newRow("ascii") << QByteArray("ab") << QList<QByteArray>{"a", "b"};
        QTest::newRow("crlfIsOne") << QByteArray("a\r\nb") << QList<QByteArray>{"a", "\r\n", "b"};
        QTest::newRow("loneCr") << QByteArray("a\rb") << QList<QByteArray>{"a", "\r", "b"};
        QTest::newRow("loneLf") << QByteArray("\n\r") << QList<QByteArray>{"\n", "\r"};
        QTest::newRow("crAtEnd") << QByteArray("a\r") << QList<QByteArray>{"a", "\r"};
        QTest::newRow("han") << ByteArray(Gbk("过滤a")) << ByteList({Gbk("过"), Gbk("滤"), "a"});
        QTest::newRow("trailByteBackslash")
            << QByteArray("\x81\x5C\\") << QList<QByteArray>{"\x81\x5C", "\\"};
        QTest::newRow("byte80Single") << QByteArray("\x80"
                                                    "a")
                                      << QList<QByteArray>{"\x80", "a"};
        QTest::newRow("leadByteLast") << QByteArray("a\xB0") << QList<QByteArray>{"a", "\xB0"};
        QTest::newRow("leadBeforeCr")
            << QByteArray("\xB0\r\n") << QList<QByteArray>{"\xB0\r", "\n"};
    }
    void splitFilterText() {
        QFETCH(QByteArray, text);
        QFETCH(QList<QByteArray>, elements);
        const TextArray split = SplitFilterText(text.toStdString());
        QCOMPARE(ByteList(split), elements);
        QCOMPARE(ByteArray(JoinTexts(split)), text);
    }

    void caretElementCount_data() {
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("count");
        // "过滤\r\nab": positions 过 1, 滤 2, CR LF 4, a 5, b 6.
        QTest::newRow("start") << 0 << 0;
        QTest::newRow("afterHan") << 2 << 2;
        QTest::newRow("insideLineBreak") << 3 << 2;
        QTest::newRow("afterLineBreak") << 4 << 3;
        QTest::newRow("end") << 6 << 5;
        QTest::newRow("pastEnd") << 40 << 5;
    }
    void caretElementCount() {
        QFETCH(int, caret);
        QFETCH(int, count);
        SharedState state;
        state.FilterChars = SplitFilterText(Gbk("过滤\r\nab"));
        state.FilterCaret = caret;
        QCOMPARE(CaretElementCount(state), count);
    }

    void filterCaretFromQt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("caret");
        QTest::newRow("lineBreakCountsTwo") << QStringLiteral("ab\ncd") << 4 << 5;
        QTest::newRow("hanCountsOne") << QStringLiteral("过滤规则") << 3 << 3;
        // One character outside the basic plane: two UTF-16 units, one position.
        QTest::newRow("surrogatePair") << QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                            "b")
                                       << 3 << 2;
        QTest::newRow("beyondText") << QStringLiteral("ab") << 9 << 2;
    }
    void filterCaretFromQt() {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(int, caret);
        QCOMPARE(FilterCaretFromQt(text, position), caret);
    }

    void insertFilterPatternWithEmptySnapshotGivesCaptionAlone() {
        SharedState state;
        QCOMPARE(InsertFilterPattern(state, "[\\S\\s]*?"), Text("[\\S\\s]*?"));
    }

    void reverseTextArray_data() {
        QTest::addColumn<QList<QByteArray>>("array");
        QTest::addColumn<QList<QByteArray>>("reversed");
        QTest::newRow("none") << QList<QByteArray>{} << QList<QByteArray>{};
        QTest::newRow("one") << QList<QByteArray>{"a"} << QList<QByteArray>{"a"};
        QTest::newRow("two") << QList<QByteArray>{"a", "b"} << QList<QByteArray>{"b", "a"};
        QTest::newRow("three") << QList<QByteArray>{"a", "b", "c"}
                               << QList<QByteArray>{"c", "b", "a"};
    }
    void reverseTextArray() {
        QFETCH(QList<QByteArray>, array);
        QFETCH(QList<QByteArray>, reversed);
        TextArray texts;
        for (const QByteArray& element : array) {
            texts.push_back(element.toStdString());
        }
        ReverseTextArray(texts);
        QCOMPARE(ByteList(texts), reversed);
    }

    void outputDirectoryIsCreatedBesideTheProgram() {
        QTemporaryDir run;
        QTemporaryDir downloads;
        const std::filesystem::path chosen =
            ChooseOutputDirectory(run.path().toStdString(), downloads.path().toStdString());
        QCOMPARE(chosen, std::filesystem::path(run.path().toStdString()) / "小说下载");
        QVERIFY(std::filesystem::is_directory(chosen));
        QCOMPARE(ChooseOutputDirectory(run.path().toStdString(), downloads.path().toStdString()),
                 chosen);
    }

    void outputDirectoryFallsBackWhenTheProgramsPlaceCannotTakeIt() {
        QTemporaryDir run;
        QTemporaryDir downloads;
        // A file where a directory would have to be: no user can create anything inside.
        const std::filesystem::path blocked =
            std::filesystem::path(run.path().toStdString()) / "bin";
        std::ofstream(blocked) << "x";
        const std::filesystem::path chosen =
            ChooseOutputDirectory(blocked, downloads.path().toStdString());
        QCOMPARE(chosen, std::filesystem::path(downloads.path().toStdString()) / "小说下载");
        QVERIFY(std::filesystem::is_directory(chosen));
    }

    void installedProgramWritesToTheDownloadDirectoryEvenForRoot() {
        QTemporaryDir downloads;
        const std::filesystem::path installed = "/usr/bin";
        const bool existedBefore = std::filesystem::exists(installed / "小说下载");
        const std::filesystem::path chosen =
            ChooseOutputDirectory(installed, downloads.path().toStdString());
        if (!existedBefore) {
            std::error_code error;
            QVERIFY(!std::filesystem::remove(installed / "小说下载", error));
        }
        QCOMPARE(chosen, std::filesystem::path(downloads.path().toStdString()) / "小说下载");
        QVERIFY(std::filesystem::is_directory(chosen));
    }
};

} // namespace quill

QTEST_MAIN(quill::EditorRulesTest)
#include "editor_rules_test.moc"

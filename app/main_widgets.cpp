#include "main_widgets.h"

#include "chapter_list.h"
#include "edit_boxes.h"
#include "help_text.h"
#include "qt_text.h"

namespace quill {
namespace {

template <typename Widget> Widget* Place(Widget* widget, const QString& name, const QRect& place) {
    widget->setObjectName(name);
    widget->setGeometry(place);
    return widget;
}

QPushButton* Button(QWidget* window, const QString& name, const QString& caption,
                    const QRect& place) {
    return Place(new QPushButton(caption, window), name, place);
}

QCheckBox* CheckBox(QWidget* window, const QString& name, const QString& caption,
                    const QRect& place) {
    return Place(new QCheckBox(caption, window), name, place);
}

QLabel* Label(QWidget* window, const QString& name, const QString& caption, const QRect& place) {
    return Place(new QLabel(caption, window), name, place);
}

// "宋体" is rarely installed on Linux; a Song-style face keeps the look. It is also the default
// face of a Chinese system, and the one whose line height lets the filter box show its three
// lines in 48 pixels.
QFont SongFont(int pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC")});
    font.setPixelSize(pixels);
    return font;
}

ClearingTextEdit* ContentBox(QWidget* window) {
    auto* box = Place(new ClearingTextEdit(window), QStringLiteral("编辑框2"), {352, 64, 264, 272});
    box->setFont(SongFont(15));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setPlainText(ToQStringLines(HelpText()));
    return box;
}

ClearingTextEdit* FilterBox(QWidget* window) {
    auto* box = Place(new ClearingTextEdit(window), QStringLiteral("编辑框3"), {352, 360, 264, 48});
    box->setFont(SongFont(14));
    box->document()->setDocumentMargin(1);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setPlainText(ToQStringLines(PlaceholderRules()));
    box->setEnabled(false);
    return box;
}

QTimer* ProgressTimer(QWidget* window) {
    auto* timer = new QTimer(window);
    timer->setObjectName(QStringLiteral("时钟1"));
    return timer;
}

} // namespace

MainWidgets BuildMainWidgets(QWidget* window) {
    MainWidgets w{};
    w.addressBox = Place(new ClearingLineEdit(window), QStringLiteral("编辑框1"), {8, 8, 464, 32});
    w.parseButton =
        Button(window, QStringLiteral("按钮1"), QStringLiteral("目录解析"), {480, 8, 64, 32});
    w.transcodeBox =
        CheckBox(window, QStringLiteral("选择框2"), QStringLiteral("转码"), {552, 4, 64, 16});
    w.preprocessBox =
        CheckBox(window, QStringLiteral("选择框3"), QStringLiteral("预处理"), {552, 28, 64, 16});
    w.listLabel =
        Label(window, QStringLiteral("标签1"), QStringLiteral("章节列表"), {8, 48, 256, 16});
    w.contentLabel =
        Label(window, QStringLiteral("标签2"), QStringLiteral("内容"), {352, 48, 264, 16});
    w.chapterList =
        Place(new ChapterList(window), QStringLiteral("超级列表框2"), {8, 64, 336, 336});
    w.contentBox = ContentBox(window);
    w.filterLabel =
        Label(window, QStringLiteral("标签4"), QStringLiteral("正则过滤内容"), {352, 338, 80, 16});
    w.filterEnableBox =
        CheckBox(window, QStringLiteral("选择框1"), QStringLiteral("启用"), {440, 338, 56, 16});
    w.lazyPatternButton =
        Button(window, QStringLiteral("按钮7"), QStringLiteral(".*?"), {496, 340, 48, 16});
    w.spanPatternButton =
        Button(window, QStringLiteral("按钮8"), QStringLiteral("[\\S\\s]*?"), {552, 340, 56, 16});
    w.filterBox = FilterBox(window);
    w.tickAllButton =
        Button(window, QStringLiteral("按钮5"), QStringLiteral("全选"), {8, 408, 40, 24});
    w.invertButton =
        Button(window, QStringLiteral("按钮6"), QStringLiteral("反选"), {64, 408, 40, 24});
    w.reverseButton =
        Button(window, QStringLiteral("按钮9"), QStringLiteral("倒序"), {120, 408, 40, 24});
    w.workerLabel =
        Label(window, QStringLiteral("标签3"), QStringLiteral("线程："), {176, 408, 72, 24});
    w.downloadButton =
        Button(window, QStringLiteral("按钮4"), QStringLiteral("下载"), {272, 408, 48, 24});
    w.previousButton =
        Button(window, QStringLiteral("按钮2"), QStringLiteral("上一章"), {392, 408, 48, 24});
    w.nextButton =
        Button(window, QStringLiteral("按钮3"), QStringLiteral("下一章"), {536, 408, 48, 24});
    w.progressTimer = ProgressTimer(window);
    return w;
}

} // namespace quill

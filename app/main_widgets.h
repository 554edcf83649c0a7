#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace quill {

class ChapterList;
class ClearingLineEdit;
class ClearingTextEdit;

// Every control of the main window; the window owns them all.
struct MainWidgets {
    ClearingLineEdit* addressBox;   // 编辑框1
    QPushButton* parseButton;       // 按钮1 "目录解析"
    QCheckBox* transcodeBox;        // 选择框2 "转码"
    QCheckBox* preprocessBox;       // 选择框3 "预处理"
    QLabel* listLabel;              // 标签1
    QLabel* contentLabel;           // 标签2
    ChapterList* chapterList;       // 超级列表框2
    ClearingTextEdit* contentBox;   // 编辑框2
    QLabel* filterLabel;            // 标签4 "正则过滤内容"
    QCheckBox* filterEnableBox;     // 选择框1 "启用"
    QPushButton* lazyPatternButton; // 按钮7 ".*?"
    QPushButton* spanPatternButton; // 按钮8 "[\S\s]*?"
    ClearingTextEdit* filterBox;    // 编辑框3
    QPushButton* tickAllButton;     // 按钮5 "全选"
    QPushButton* invertButton;      // 按钮6 "反选"
    QPushButton* reverseButton;     // 按钮9 "倒序"
    QLabel* workerLabel;            // 标签3 "线程："
    QPushButton* downloadButton;    // 按钮4 "下载"
    QPushButton* previousButton;    // 按钮2 "上一章"
    QPushButton* nextButton;        // 按钮3 "下一章"
    QTimer* progressTimer;          // 时钟1
};

// Creates every control on `window` at its place, with its caption, font and initial content.
MainWidgets BuildMainWidgets(QWidget* window);

} // namespace quill

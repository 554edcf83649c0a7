#pragma once

#include "text.h"

namespace quill {

// Captions that the core writes. Each names one control of the main window.
enum class Caption {
    ParseButton,    // 按钮1
    DownloadButton, // 按钮4
    ListLabel,      // 标签1
    ContentLabel,   // 标签2
    WorkerLabel,    // 标签3
};

// The window as the core sees it. Every member may be called from any thread: reads return the
// value current at the moment of the call, writes from other threads reach the window later.
class Controls {
  public:
    virtual ~Controls() = default;

    virtual Text addressText() const = 0;      // 编辑框1
    virtual bool transcodeTicked() const = 0;  // 选择框2 "转码"
    virtual bool preprocessTicked() const = 0; // 选择框3 "预处理"
    virtual bool filterEnabled() const = 0;    // 选择框1 "启用"
    virtual Text filterRules() const = 0;      // 编辑框3, lines joined by CR LF

    // The chapter list 超级列表框2; rows and columns are 0-based.
    virtual int rowCount() const = 0;
    virtual bool rowTicked(int row) const = 0;
    // The empty text for a row that does not exist.
    virtual Text cellText(int row, int column) const = 0;
    virtual void setCellText(int row, int column, const Text& text) = 0;

    virtual void setCaption(Caption caption, const Text& text) = 0;
    // 时钟1: a period above 0 (re)starts the timer, 0 stops it.
    virtual void setTimerPeriod(int milliseconds) = 0;
    // "目录解析", "倒序" and "下载" are disabled while a batch runs.
    virtual void setBatchCommandsEnabled(bool enabled) = 0;
    // A message box owned by the main window that closes itself after `milliseconds`.
    virtual void showTimedMessage(const Text& text, const Text& caption, int milliseconds) = 0;
};

} // namespace quill

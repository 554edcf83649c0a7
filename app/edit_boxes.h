#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace quill {

// A single-line box that empties itself on a double-click.
class ClearingLineEdit final : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A multi-line box that empties itself on a double-click and reports each loss of focus.
class ClearingTextEdit final : public QPlainTextEdit {
    Q_OBJECT
  public:
    using QPlainTextEdit::QPlainTextEdit;

  signals:
    void focusLost();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace quill

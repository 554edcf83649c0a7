#pragma once

#include <QTreeWidget>

#include "core/text.h"

namespace quill {

class GridDelegate;

// The chapter list 超级列表框2: report style, a check box per row in column 0, one selected row.
// Mouse and keyboard behave as a user of a native report list expects.
class ChapterList final : public QTreeWidget {
    Q_OBJECT
  public:
    explicit ChapterList(QWidget* parent = nullptr);

    // 0-based, or -1 when no row is selected.
    int selectedRow() const;
    // Selects `row` and makes it current without scrolling it into view; -1 clears the selection.
    void selectRow(int row);
    bool rowTicked(int row) const;
    void setRowTicked(int row, bool ticked);

  signals:
    // A right press over the rows or the empty area, reported before the list reacts to it.
    void rightPressed();
    // A double-click anywhere but on a check box; it concerns the selected row.
    void doubleClickedSelection();

  protected:
    bool viewportEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool onCheckIndicator(const QPoint& point);
    void toggleSelectedTick();

    GridDelegate* m_delegate;
};

// Appends one ticked "待下载" row per title, numbered from 1. Callers empty the list first.
void FillChapterList(ChapterList& list, const TextArray& titles);

} // namespace quill

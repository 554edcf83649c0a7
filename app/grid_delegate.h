#pragma once

#include <QStyledItemDelegate>

namespace quill {

// Draws the cell borders a report-style list shows, and tells where a row's check box sits.
class GridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool onCheckIndicator(const QStyleOptionViewItem& option, const QModelIndex& index,
                          const QPoint& point) const;
};

} // namespace quill

#include "grid_delegate.h"

#include <QApplication>
#include <QPainter>

namespace quill {

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}

bool GridDelegate::onCheckIndicator(const QStyleOptionViewItem& option, const QModelIndex& index,
                                    const QPoint& point) const {
    if (!(index.flags() & Qt::ItemIsUserCheckable) || !index.data(Qt::CheckStateRole).isValid()) {
        return false;
    }
    QStyleOptionViewItem itemOption(option);
    initStyleOption(&itemOption, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &itemOption, widget)
        .contains(point);
}

} // namespace quill

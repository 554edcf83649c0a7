#include "chapter_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "core/text_rules.h"
#include "grid_delegate.h"
#include "qt_text.h"

namespace quill {
namespace {

constexpr int kColumnWidths[] = {50, 200, 60};

bool IsRightPress(const QEvent* event) {
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    return press && static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
}

QTreeWidgetItem* ChapterItem(int number, const Text& title) {
    auto* item = new QTreeWidgetItem(
        {ToQString(DecimalText(number)), ToQString(title), QStringLiteral("待下载")});
    item->setCheckState(0, Qt::Checked);
    return item;
}

} // namespace

ChapterList::ChapterList(QWidget* parent)
    : QTreeWidget(parent), m_delegate(new GridDelegate(this)) {
    setItemDelegate(m_delegate);
    setColumnCount(3);
    setHeaderLabels({QStringLiteral("ID"), QStringLiteral("章节名称"), QStringLiteral("下载状态")});
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    for (int column = 0; column < 3; ++column) {
        setColumnWidth(column, kColumnWidths[column]);
    }
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int ChapterList::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ChapterList::selectRow(int row) {
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    // The view scrolls to a new current row unless auto-scroll is off.
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    setAutoScroll(scrolls);
}

bool ChapterList::rowTicked(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && item->checkState(0) == Qt::Checked;
}

void ChapterList::setRowTicked(int row, bool ticked) {
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    }
}

bool ChapterList::viewportEvent(QEvent* event) {
    if (IsRightPress(event)) {
        emit rightPressed();
    }
    return QTreeWidget::viewportEvent(event);
}

void ChapterList::mouseDoubleClickEvent(QMouseEvent* event) {
    const bool onCheckBox = onCheckIndicator(event->position().toPoint());
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && !onCheckBox) {
        emit doubleClickedSelection();
    }
}

void ChapterList::keyPressEvent(QKeyEvent* event) {
    // The plain view toggles a tick only while column 0 is current.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        toggleSelectedTick();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

bool ChapterList::onCheckIndicator(const QPoint& point) {
    const QModelIndex index = indexAt(point);
    if (!index.isValid()) {
        return false;
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return m_delegate->onCheckIndicator(option, index, point);
}

void ChapterList::toggleSelectedTick() {
    const int row = selectedRow();
    if (row >= 0) {
        setRowTicked(row, !rowTicked(row));
    }
}

void FillChapterList(ChapterList& list, const TextArray& titles) {
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(titles.size()));
    for (std::size_t i = 0; i < titles.size(); ++i) {
        items.append(ChapterItem(static_cast<int>(i) + 1, titles[i]));
    }
    list.addTopLevelItems(items);
}

} // namespace quill

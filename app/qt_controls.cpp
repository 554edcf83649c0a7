#include "qt_controls.h"

#include <algorithm>
#include <utility>

#include <QThread>

#include "chapter_list.h"
#include "edit_boxes.h"
#include "qt_text.h"
#include "timed_message.h"

namespace quill {
namespace {

constexpr int kColumns = 3;

template <typename Value> Value LockedRead(std::mutex& mutex, const Value& value) {
    std::lock_guard lock(mutex);
    return value;
}

template <typename Value> void LockedStore(std::mutex& mutex, Value& field, Value value) {
    std::lock_guard lock(mutex);
    field = std::move(value);
}

} // namespace

QtControls::QtControls(QWidget* window, const MainWidgets& widgets)
    : m_window(window), m_widgets(widgets) {
    mirrorEditBoxes();
    mirrorCheckBoxes();
    mirrorList();
}

void QtControls::mirrorEditBoxes() {
    auto address = [this] {
        LockedStore(m_mutex, m_address, ToText(m_widgets.addressBox->text()));
    };
    auto rules = [this] {
        LockedStore(m_mutex, m_filterRules, ToTextLines(m_widgets.filterBox->toPlainText()));
    };
    connect(m_widgets.addressBox, &QLineEdit::textChanged, this, address);
    connect(m_widgets.filterBox, &QPlainTextEdit::textChanged, this, rules);
    address();
    rules();
}

void QtControls::mirrorCheckBoxes() {
    const std::pair<QCheckBox*, bool*> boxes[] = {{m_widgets.transcodeBox, &m_transcode},
                                                  {m_widgets.preprocessBox, &m_preprocess},
                                                  {m_widgets.filterEnableBox, &m_filterEnabled}};
    for (const auto& entry : boxes) {
        QCheckBox* box = entry.first;
        bool* field = entry.second;
        connect(box, &QCheckBox::toggled, this,
                [this, field](bool ticked) { LockedStore(m_mutex, *field, ticked); });
        LockedStore(m_mutex, *field, box->isChecked());
    }
}

void QtControls::mirrorList() {
    QAbstractItemModel* model = m_widgets.chapterList->model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (!parent.isValid()) {
                    insertRows(first, last);
                }
            });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (!parent.isValid()) {
                    removeRows(first, last);
                }
            });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (!topLeft.parent().isValid()) {
                    refreshRows(topLeft.row(), bottomRight.row());
                }
            });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { rebuildRows(); });
    rebuildRows();
}

QtControls::Row QtControls::rowOfList(int row) const {
    Row mirrored;
    if (const QTreeWidgetItem* item = m_widgets.chapterList->topLevelItem(row)) {
        mirrored.ticked = item->checkState(0) == Qt::Checked;
        for (int column = 0; column < kColumns; ++column) {
            mirrored.cells[column] = ToText(item->text(column));
        }
    }
    return mirrored;
}

void QtControls::insertRows(int first, int last) {
    std::vector<Row> inserted;
    for (int row = first; row <= last; ++row) {
        inserted.push_back(rowOfList(row));
    }
    std::lock_guard lock(m_mutex);
    const auto at = m_rows.begin() + std::min<std::size_t>(first, m_rows.size());
    m_rows.insert(at, std::make_move_iterator(inserted.begin()),
                  std::make_move_iterator(inserted.end()));
}

void QtControls::removeRows(int first, int last) {
    std::lock_guard lock(m_mutex);
    const std::size_t begin = std::min<std::size_t>(first, m_rows.size());
    const std::size_t end = std::min<std::size_t>(last + 1, m_rows.size());
    m_rows.erase(m_rows.begin() + begin, m_rows.begin() + end);
}

void QtControls::refreshRows(int first, int last) {
    for (int row = first; row <= last; ++row) {
        Row mirrored = rowOfList(row);
        std::lock_guard lock(m_mutex);
        if (row >= 0 && row < static_cast<int>(m_rows.size())) {
            m_rows[row] = std::move(mirrored);
        }
    }
}

void QtControls::rebuildRows() {
    std::vector<Row> rows;
    const int count = m_widgets.chapterList->topLevelItemCount();
    for (int row = 0; row < count; ++row) {
        rows.push_back(rowOfList(row));
    }
    LockedStore(m_mutex, m_rows, std::move(rows));
}

Text QtControls::addressText() const {
    return LockedRead(m_mutex, m_address);
}

bool QtControls::transcodeTicked() const {
    return LockedRead(m_mutex, m_transcode);
}

bool QtControls::preprocessTicked() const {
    return LockedRead(m_mutex, m_preprocess);
}

bool QtControls::filterEnabled() const {
    return LockedRead(m_mutex, m_filterEnabled);
}

Text QtControls::filterRules() const {
    return LockedRead(m_mutex, m_filterRules);
}

int QtControls::rowCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_rows.size());
}

bool QtControls::rowTicked(int row) const {
    std::lock_guard lock(m_mutex);
    return row >= 0 && row < static_cast<int>(m_rows.size()) && m_rows[row].ticked;
}

Text QtControls::cellText(int row, int column) const {
    std::lock_guard lock(m_mutex);
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0 || column >= kColumns) {
        return {};
    }
    return m_rows[row].cells[column];
}

void QtControls::write(std::function<void()> write) {
    if (QThread::currentThread() == thread()) {
        write();
        return;
    }
    // Widgets belong to the window's thread. The writes travel under our own lock, so they
    // keep their order and a dropped notification (this object gone) drops them with it.
    std::lock_guard lock(m_pendingMutex);
    m_pendingWrites.push_back(std::move(write));
    if (m_pendingWrites.size() == 1) {
        QMetaObject::invokeMethod(this, "applyPendingWrites", Qt::QueuedConnection);
    }
}

void QtControls::applyPendingWrites() {
    std::vector<std::function<void()>> writes;
    {
        std::lock_guard lock(m_pendingMutex);
        writes.swap(m_pendingWrites);
    }
    for (const std::function<void()>& write : writes) {
        write();
    }
}

void QtControls::setCellText(int row, int column, const Text& text) {
    write([this, row, column, text] {
        QTreeWidgetItem* item = m_widgets.chapterList->topLevelItem(row);
        if (item && column >= 0 && column < kColumns) {
            item->setText(column, ToQString(text));
        }
    });
}

void QtControls::setCaptionNow(Caption caption, const QString& text) {
    switch (caption) {
    case Caption::ParseButton:
        m_widgets.parseButton->setText(text);
        break;
    case Caption::DownloadButton:
        m_widgets.downloadButton->setText(text);
        break;
    case Caption::ListLabel:
        m_widgets.listLabel->setText(text);
        break;
    case Caption::ContentLabel:
        m_widgets.contentLabel->setText(text);
        break;
    case Caption::WorkerLabel:
        m_widgets.workerLabel->setText(text);
        break;
    }
}

void QtControls::setCaption(Caption caption, const Text& text) {
    write([this, caption, text] { setCaptionNow(caption, ToQString(text)); });
}

void QtControls::setTimerPeriod(int milliseconds) {
    write([this, milliseconds] {
        if (milliseconds > 0) {
            m_widgets.progressTimer->start(milliseconds);
        } else {
            m_widgets.progressTimer->stop();
        }
    });
}

void QtControls::setBatchCommandsEnabled(bool enabled) {
    write([this, enabled] {
        m_widgets.parseButton->setEnabled(enabled);
        m_widgets.reverseButton->setEnabled(enabled);
        m_widgets.downloadButton->setEnabled(enabled);
    });
}

void QtControls::showTimedMessage(const Text& text, const Text& caption, int milliseconds) {
    write([this, text, caption, milliseconds] {
        OpenTimedMessage(m_window, ToQString(text), ToQString(caption), milliseconds);
    });
}

} // namespace quill

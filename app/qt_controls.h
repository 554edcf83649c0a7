#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include <QObject>

#include "core/controls.h"
#include "main_widgets.h"

namespace quill {

// The main window as the core sees it, safe from any thread. Reads come from a mirror that the
// window's thread keeps current from the widgets' change signals; writes from other threads are
// queued to the window's thread, writes on it apply at once.
class QtControls final : public QObject, public Controls {
    Q_OBJECT
  public:
    QtControls(QWidget* window, const MainWidgets& widgets);

    Text addressText() const override;
    bool transcodeTicked() const override;
    bool preprocessTicked() const override;
    bool filterEnabled() const override;
    Text filterRules() const override;
    int rowCount() const override;
    bool rowTicked(int row) const override;
    Text cellText(int row, int column) const override;
    void setCellText(int row, int column, const Text& text) override;
    void setCaption(Caption caption, const Text& text) override;
    void setTimerPeriod(int milliseconds) override;
    void setBatchCommandsEnabled(bool enabled) override;
    void showTimedMessage(const Text& text, const Text& caption, int milliseconds) override;

  private slots:
    void applyPendingWrites();

  private:
    struct Row {
        bool ticked = false;
        Text cells[3];
    };

    void mirrorEditBoxes();
    void mirrorCheckBoxes();
    void mirrorList();
    Row rowOfList(int row) const;
    void insertRows(int first, int last);
    void removeRows(int first, int last);
    void refreshRows(int first, int last);
    void rebuildRows();
    void write(std::function<void()> write);
    void setCaptionNow(Caption caption, const QString& text);

    QWidget* m_window;
    MainWidgets m_widgets;
    mutable std::mutex m_mutex;
    Text m_address;
    bool m_transcode = false;
    bool m_preprocess = false;
    bool m_filterEnabled = false;
    Text m_filterRules;
    std::vector<Row> m_rows;
    // Writes from other threads wait here for the window's thread, in the order they came.
    std::mutex m_pendingMutex;
    std::vector<std::function<void()>> m_pendingWrites;
};

} // namespace quill

#pragma once

#include <memory>

#include <QString>
#include <QTemporaryDir>

#include "app/chapter_list.h"
#include "app/main_window.h"
#include "core/shared_state.h"

namespace quill::testing {

// A fresh shared state and a shown, active main window, its controls found by their names. The
// window writes into a temporary directory of its own.
class WindowFixture final {
  public:
    WindowFixture();
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    SharedState& state() { return m_state; }
    MainWindow& window() { return *m_window; }
    bool isActive() const { return m_active; }

    template <typename Widget> Widget* find(const char* name) const {
        return m_window->findChild<Widget*>(QString::fromUtf8(name));
    }
    ChapterList* list() const { return find<ChapterList>("超级列表框2"); }

    // Puts the chapters in the arrays and the list, as a parse leaves them.
    void setChapters(const TextArray& titles, const TextArray& urls);
    // The centre of a row's title cell, in the list's viewport.
    QPoint rowPoint(int row) const;
    // A point of the viewport below the last row.
    QPoint belowRows() const;
    void clickButton(const char* name) const;

  private:
    QTemporaryDir m_runDirectory;
    SharedState m_state;
    std::unique_ptr<MainWindow> m_window;
    bool m_active = false;
};

} // namespace quill::testing

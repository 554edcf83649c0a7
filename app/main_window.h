#pragma once

#include <filesystem>

#include <QWidget>

#include "core/shared_state.h"
#include "main_widgets.h"
#include "qt_controls.h"

namespace quill {

// The one window of the program. Every command starts in one of its handlers, on its thread.
class MainWindow final : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(SharedState& state, QWidget* parent = nullptr);

    Controls& controls() { return m_controls; }
    const std::filesystem::path& outputDirectory() const { return m_outputDirectory; }

  private:
    void placeOnScreen();
    void connectListCommands();
    void connectFilterEditor();
    void insertPattern(const QPushButton* button);

    SharedState& m_state;
    MainWidgets m_widgets;
    QtControls m_controls;
    std::filesystem::path m_outputDirectory;
};

} // namespace quill

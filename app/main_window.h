#pragma once

#include <filesystem>

#include <QWidget>

#include "core/shared_state.h"
#include "download/download.h"
#include "main_widgets.h"
#include "output_directory.h"
#include "qt_controls.h"

namespace quill {

// The one window of the program. Every command starts in one of its handlers, on its thread.
class MainWindow final : public QWidget {
    Q_OBJECT
  public:
    // The output directory is made when the window is created, beside the program by default.
    explicit MainWindow(SharedState& state,
                        std::filesystem::path outputDirectory = OutputDirectory());
    ~MainWindow() override;

    Controls& controls() { return m_controls; }
    const std::filesystem::path& outputDirectory() const { return m_download.outputDirectory; }
    // From the press of "下载" until the merge has ended.
    bool batchRunning() const;

    // 按钮1: fills the chapter list from the table of contents at the address in 编辑框1.
    void ParseTableOfContents();
    // Shows the chapter of list row `row` in 编辑框2.
    void ShowChapter(int row);

  private:
    void placeOnScreen();
    void connectListCommands();
    void connectFilterEditor();
    void connectViewer();
    void connectParseAndDownload();
    void insertPattern(const QPushButton* button);
    void warnAboutAddress();
    void showSelectedChapter();
    void showPreviousChapter();
    void showNextChapter();

    SharedState& m_state;
    MainWidgets m_widgets;
    QtControls m_controls;
    DownloadContext m_download;
};

} // namespace quill

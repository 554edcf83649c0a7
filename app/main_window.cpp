#include "main_window.h"

#include <QScreen>

#include "chapter_list.h"
#include "edit_boxes.h"
#include "filter_editor.h"
#include "list_commands.h"
#include "qt_text.h"

namespace quill {
namespace {

// Room for the right and bottom edges of the controls (616, 432) and a margin.
constexpr QSize kClientSize(624, 440);

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// The layout was drawn for a 9-point face at 96 dpi.
QFont WindowFont() {
    QFont font;
    font.setPixelSize(12);
    return font;
}

} // namespace

MainWindow::MainWindow(SharedState& state, std::filesystem::path outputDirectory)
    : QWidget(nullptr, kWindowFlags), m_state(state), m_widgets(BuildMainWidgets(this)),
      m_controls(this, m_widgets), m_download{state, m_controls, std::move(outputDirectory)} {
    setWindowTitle(QStringLiteral("Quillarch(Morvenhall)"));
    setFont(WindowFont());
    setFixedSize(kClientSize);
    placeOnScreen();
    connectListCommands();
    connectFilterEditor();
    connectViewer();
    connectParseAndDownload();
}

// The filter box loses the focus while the window's children are destroyed; by then this is no
// longer a MainWindow to take the snapshot.
MainWindow::~MainWindow() {
    m_widgets.filterBox->disconnect(this);
}

bool MainWindow::batchRunning() const {
    return !m_widgets.downloadButton->isEnabled();
}

void MainWindow::placeOnScreen() {
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void MainWindow::connectListCommands() {
    ChapterList* list = m_widgets.chapterList;
    connect(m_widgets.tickAllButton, &QPushButton::clicked, this, [list] { TickAllRows(*list); });
    connect(m_widgets.invertButton, &QPushButton::clicked, this, [list] { InvertTicks(*list); });
    connect(m_widgets.reverseButton, &QPushButton::clicked, this,
            [this, list] { ReverseChapterOrder(m_state, *list); });
    connect(list, &ChapterList::rightPressed, this,
            [this, list] { CopySelectedAddress(m_state, *list); });
}

void MainWindow::connectViewer() {
    connect(m_widgets.chapterList, &ChapterList::doubleClickedSelection, this,
            &MainWindow::showSelectedChapter);
    connect(m_widgets.previousButton, &QPushButton::clicked, this,
            &MainWindow::showPreviousChapter);
    connect(m_widgets.nextButton, &QPushButton::clicked, this, &MainWindow::showNextChapter);
}

void MainWindow::connectParseAndDownload() {
    connect(m_widgets.parseButton, &QPushButton::clicked, this, &MainWindow::ParseTableOfContents);
    connect(m_widgets.downloadButton, &QPushButton::clicked, this,
            [this] { StartDownload(m_download); });
    connect(m_widgets.progressTimer, &QTimer::timeout, this, [this] { ShowProgress(m_download); });
}

void MainWindow::connectFilterEditor() {
    ClearingTextEdit* box = m_widgets.filterBox;
    connect(box, &ClearingTextEdit::focusLost, this, [this, box] {
        TakeFilterSnapshot(m_state, box->toPlainText(), box->textCursor().selectionStart());
    });
    for (const QPushButton* button : {m_widgets.lazyPatternButton, m_widgets.spanPatternButton}) {
        connect(button, &QPushButton::clicked, this, [this, button] { insertPattern(button); });
    }
    connect(m_widgets.filterEnableBox, &QCheckBox::toggled, box, &QWidget::setEnabled);
}

void MainWindow::insertPattern(const QPushButton* button) {
    const Text rules = InsertFilterPattern(m_state, ToText(button->text()));
    m_widgets.filterBox->setPlainText(ToQStringLines(rules));
}

} // namespace quill

#include "chapter_list.h"
#include "content/chapter_text.h"
#include "content/text_cleanup.h"
#include "core/codepage.h"
#include "edit_boxes.h"
#include "main_window.h"
#include "qt_text.h"
#include "window_job.h"

namespace quill {

void MainWindow::ShowChapter(int row) {
    // A row without a chapter can only come from a list out of step with the arrays.
    if (row < 0 || row >= static_cast<int>(m_state.ChapterTitles.size())) {
        return;
    }
    m_controls.setCaption(Caption::ListLabel, Gbk("章节列表"));
    m_controls.setCaption(Caption::ContentLabel, Gbk("章节内容加载中。。。"));
    m_widgets.contentBox->clear();

    Text text;
    RunKeepingWindowPainted(
        [&text, row, this] { text = ExtractChapterText(m_state, m_controls, row, true); });
    const Text& title = m_state.ChapterTitles[row];
    m_widgets.contentBox->setPlainText(ToQStringLines(WithTitleLine(title, text)));
    m_controls.setCaption(Caption::ContentLabel, title + Gbk("--加载完毕！"));
}

void MainWindow::showSelectedChapter() {
    const int row = m_widgets.chapterList->selectedRow();
    if (row < 0) {
        return;
    }
    m_state.CurrentChapter = row;
    ShowChapter(row);
}

void MainWindow::showPreviousChapter() {
    if (m_state.CurrentChapter <= 0) {
        return;
    }
    --m_state.CurrentChapter;
    m_widgets.chapterList->selectRow(m_state.CurrentChapter);
    ShowChapter(m_state.CurrentChapter);
}

void MainWindow::showNextChapter() {
    if (m_state.CurrentChapter >= static_cast<int>(m_state.ChapterTitles.size()) - 1) {
        return;
    }
    ++m_state.CurrentChapter;
    m_widgets.chapterList->selectRow(m_state.CurrentChapter);
    ShowChapter(m_state.CurrentChapter);
}

} // namespace quill

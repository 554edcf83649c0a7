#include "window_fixture.h"

#include <QPushButton>
#include <QTest>

#include "app/output_directory.h"

namespace quill::testing {

WindowFixture::WindowFixture() {
    InitSharedState(m_state);
    m_window = std::make_unique<MainWindow>(
        m_state, ChooseOutputDirectory(m_runDirectory.path().toStdString(), {}));
    m_window->show();
    m_window->activateWindow();
    m_active = QTest::qWaitForWindowActive(m_window.get());
}

WindowFixture::~WindowFixture() {
    m_window.reset();
    FreeSharedState(m_state);
}

void WindowFixture::setChapters(const TextArray& titles, const TextArray& urls) {
    m_state.ChapterTitles = titles;
    m_state.ChapterUrls = urls;
    list()->clear();
    FillChapterList(*list(), titles);
}

QPoint WindowFixture::rowPoint(int row) const {
    return list()->visualRect(list()->model()->index(row, 1)).center();
}

QPoint WindowFixture::belowRows() const {
    return QPoint(100, list()->viewport()->height() - 5);
}

void WindowFixture::clickButton(const char* name) const {
    QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton);
}

} // namespace quill::testing

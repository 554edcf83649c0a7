#include "chapter_list.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "edit_boxes.h"
#include "main_window.h"
#include "table_of_contents.h"
#include "timed_message.h"
#include "window_job.h"

namespace quill {
namespace {

constexpr int kWarningMilliseconds = 1000;
constexpr int kProgressPeriodMilliseconds = 300;

bool LooksLikeAddress(const Text& address) {
    return !address.empty() && ContainsText(address, "http");
}

} // namespace

void MainWindow::ParseTableOfContents() {
    const Text address = m_controls.addressText();
    if (!LooksLikeAddress(address)) {
        warnAboutAddress();
        return;
    }
    m_widgets.chapterList->clear();
    m_state.ChapterTitles.clear();
    m_state.ChapterUrls.clear();
    m_controls.setCaption(Caption::ParseButton, Gbk("解析中"));
    m_controls.setCaption(Caption::ListLabel, Gbk("章节列表"));

    TableOfContents contents;
    RunKeepingWindowPainted(
        [&contents, &address, this] { contents = CollectTableOfContents(address, m_controls); });
    m_state.BookTitle = std::move(contents.bookTitle);
    m_state.SiteRoot = std::move(contents.siteRoot);
    m_state.ChapterTitles = std::move(contents.titles);
    m_state.ChapterUrls = std::move(contents.urls);

    FillChapterList(*m_widgets.chapterList, m_state.ChapterTitles);
    m_controls.setCaption(Caption::ListLabel, m_state.BookTitle + Gbk("--章节列表获取完毕！"));
    m_controls.setCaption(Caption::ParseButton, Gbk("目录解析"));
    m_controls.setTimerPeriod(kProgressPeriodMilliseconds);
}

void MainWindow::warnAboutAddress() {
    QMessageBox* box = OpenTimedMessage(this, QStringLiteral("请输入章节目录地址！"),
                                        QStringLiteral("提示："), kWarningMilliseconds);
    connect(box, &QDialog::finished, m_widgets.addressBox, &QLineEdit::clear);
}

} // namespace quill

#include "content/chapter_text.h"
#include "content/text_cleanup.h"
#include "core/codepage.h"
#include "download.h"
#include "file_bytes.h"
#include "worker_places.h"

namespace quill {
namespace {

const Text kLineEnd = "\r\n";

bool HasChapter(const SharedState& state, int row) {
    return row >= 0 && row < static_cast<int>(state.ChapterUrls.size()) &&
           row < static_cast<int>(state.ChapterTitles.size());
}

// The temp file's content: the title as the list shows it now, then the chapter.
Text ChapterFileContent(const DownloadContext& context, int row, const Text& text) {
    const Text chapter = WithTitleLine(context.state.ChapterTitles[row], text);
    return context.controls.cellText(row, 1) + kLineEnd + chapter + kLineEnd;
}

void StoreChapter(DownloadContext& context, int row) {
    if (!HasChapter(context.state, row)) {
        return;
    }
    const Text text = ExtractChapterText(context.state, context.controls, row, false);
    // The tick is read after the extraction: ticking a row while it downloads still counts.
    if (text.empty() || !context.controls.rowTicked(row)) {
        return;
    }
    if (WriteWholeFile(TempFilePath(context, row), ChapterFileContent(context, row, text))) {
        context.controls.setCellText(row, 2, Gbk("下载完成"));
    }
}

} // namespace

void DownloadChapter(DownloadContext& context, int row) {
    StoreChapter(context, row);
    ReleaseWorkerPlace(context.state);
}

} // namespace quill

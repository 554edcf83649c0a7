#include "list_commands.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>

#include "chapter_list.h"
#include "qt_text.h"

namespace quill {

void ReverseTextArray(TextArray& array) {
    std::reverse(array.begin(), array.end());
}

void TickAllRows(ChapterList& list) {
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        list.setRowTicked(row, true);
    }
}

void InvertTicks(ChapterList& list) {
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        list.setRowTicked(row, !list.rowTicked(row));
    }
}

void ReverseChapterOrder(SharedState& state, ChapterList& list) {
    if (state.ChapterUrls.empty()) {
        return;
    }
    list.clear();
    ReverseTextArray(state.ChapterTitles);
    ReverseTextArray(state.ChapterUrls);
    FillChapterList(list, state.ChapterTitles);
}

void CopySelectedAddress(const SharedState& state, const ChapterList& list) {
    const int row = list.selectedRow();
    // A row without an address can only come from a list out of step with the arrays.
    if (row < 0 || row >= static_cast<int>(state.ChapterUrls.size())) {
        return;
    }
    QGuiApplication::clipboard()->setText(ToQString(state.ChapterUrls[row]));
}

} // namespace quill

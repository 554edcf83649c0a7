#include "shared_state.h"

namespace quill {

void InitSharedState(SharedState& state) {
    state.ChapterUrls.clear();
    state.ChapterTitles.clear();
    state.FilterChars.clear();
    state.CurrentChapter = 0;
    state.BookTitle.clear();
    state.SiteRoot.clear();
    state.FilterCaret = 0;
    state.WorkerCount = 0;
    state.DispatchFlag = 0;
}

void FreeSharedState(SharedState& state) {
    TextArray().swap(state.ChapterUrls);
    TextArray().swap(state.ChapterTitles);
    Text().swap(state.SiteRoot);
    Text().swap(state.BookTitle);
    TextArray().swap(state.FilterChars);
}

} // namespace quill

#pragma once

#include <atomic>

#include "text.h"

namespace quill {

// The state that every subsystem works through. ChapterUrls and ChapterTitles always have the
// same length; element i (0-based in C++) describes the chapter in list row i.
struct SharedState {
    TextArray ChapterUrls;
    TextArray ChapterTitles;
    int CurrentChapter = 0; // 0-based list row last chosen by the viewer
    Text BookTitle;
    Text SiteRoot;         // scheme and host of the table-of-contents address, no trailing "/"
    TextArray FilterChars; // the filter box's text as characters, taken when it lost the focus
    int FilterCaret = 0;   // its selection start then, a CR LF counting two
    std::atomic<int> WorkerCount{0};
    std::atomic<int> DispatchFlag{0};
};

// Makes ChapterUrls, ChapterTitles and FilterChars empty and puts every other variable back
// to its initial value.
void InitSharedState(SharedState& state);
// Releases what the state holds; it is empty afterwards.
void FreeSharedState(SharedState& state);

} // namespace quill

#pragma once

#include "core/shared_state.h"
#include "core/text.h"

namespace quill {

class ChapterList;

void ReverseTextArray(TextArray& array);

void TickAllRows(ChapterList& list);
void InvertTicks(ChapterList& list);
// Reverses both chapter arrays and rebuilds the list: every row ticked and waiting again.
void ReverseChapterOrder(SharedState& state, ChapterList& list);
// Puts the selected row's address on the clipboard; nothing when no row is selected.
void CopySelectedAddress(const SharedState& state, const ChapterList& list);

} // namespace quill

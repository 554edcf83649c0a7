#pragma once

#include "core/controls.h"
#include "core/shared_state.h"
#include "core/text.h"

namespace quill {

// The cleaned text of the chapter in list row `row` (0-based), its continuation pages
// included. Reads ChapterUrls and SiteRoot of `state` and the check boxes through `controls`.
Text ExtractChapterText(const SharedState& state, const Controls& controls, int row,
                        bool rewriteContinueButton);

} // namespace quill

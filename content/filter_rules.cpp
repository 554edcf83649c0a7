#include "content/delete_matches.h"
#include "content/text_cleanup.h"
#include "core/text_rules.h"

namespace quill {

Text ApplyFilterRules(const Text& text, const Controls& controls) {
    Text filtered = text;
    for (const Text& rule : SplitText(controls.filterRules(), "\r\n")) {
        filtered = DeleteMatches(rule, filtered);
    }
    return filtered;
}

} // namespace quill

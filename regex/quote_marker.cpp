#include "quote_marker.h"

#include "core/codepage.h"
#include "core/text_rules.h"

namespace quill {

Text ExpandQuoteMarkers(const Text& text) {
    static const Text marker = Gbk("#引号");
    return ReplaceText(text, marker, "\"");
}

} // namespace quill

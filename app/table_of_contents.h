#pragma once

#include "core/controls.h"
#include "core/text.h"

namespace quill {

// What a parse of a table of contents yields.
struct TableOfContents {
    Text bookTitle;
    Text siteRoot;
    TextArray titles;
    TextArray urls;
};

// Fetches the table-of-contents page at `address` and its "下一页" pages and collects the
// chapter links. Touches no widget: runs on any thread, reading the address box through
// `controls` when it resolves links.
TableOfContents CollectTableOfContents(const Text& address, const Controls& controls);

// Keeps the links that look like chapters; both arrays are rewritten.
void SelectChapterLinks(TextArray& titles, TextArray& urls);

} // namespace quill

#pragma once

#include <string>

#include "core/text.h"
#include "demo_book.h"

namespace quill::demo {

// Pages of the book in code page 936, declaring `charset` in their head.

// Table-of-contents page `page` (1-based): site navigation, on the first page a block of the
// latest chapters (repeated in the full list), the chapter links of this page, and page links
// with "下一页" on every page but the last.
Text RenderTocPage(const DemoBook& book, int page, const std::string& charset);

// Part `part` (0-based) of a chapter: navigation and advertising blocks around the text block.
// Every part but the last links "下一页" to the next part; the last links "下一章" to the next
// chapter, unless the chapter is the book's last.
Text RenderChapterPage(const DemoBook& book, int chapter, int part, const std::string& charset);

} // namespace quill::demo

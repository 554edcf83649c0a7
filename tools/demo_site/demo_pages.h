#pragma once

#include <string>

#include "core/text.h"
#include "demo_book.h"

namespace quill::demo {

// Pages of the book in code page 936, declaring `charset` in their head.

// Table-of-contents page `page` (1-based): the chapter links of this page amid navigation
// links, page links with "下一页" on every page but the last, and on the first page a block of
// the latest chapters (repeated in the full list). Links are collected over all pages read so
// far and only those of about the length of the middle one are kept: so the site navigation
// stands above the chapters on the first page only, and below them on later pages, where a
// block above would put the middle of the collected links among navigation links. From three
// chapters on, the middle of the first page lies among chapter links too.
Text RenderTocPage(const DemoBook& book, int page, const std::string& charset);

// Part `part` (0-based) of a chapter: navigation and advertising blocks around the text block.
// Every part but the last links "下一页" to the next part; the last links "下一章" to the next
// chapter, unless the chapter is the book's last.
Text RenderChapterPage(const DemoBook& book, int chapter, int part, const std::string& charset);

} // namespace quill::demo

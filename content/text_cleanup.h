#pragma once

#include "core/controls.h"
#include "core/text.h"

namespace quill {

// Number of characters U+4E00..U+9FA5 in the text.
int CountHanChars(const Text& text);
// Plain text lines of a piece of chapter markup.
Text HtmlToText(const Text& text);
// Drops one leading and one trailing CR LF and collapses blank lines.
Text RemoveBlankLines(const Text& text);
// Deletes every match of every rule (one per line of the filter box). A rule the engine
// rejects is skipped.
Text ApplyFilterRules(const Text& text, const Controls& controls);

// The chapter text with the title line put in front when the text lacks the title.
Text WithTitleLine(const Text& title, const Text& text);

} // namespace quill

#pragma once

#include "core/text.h"

namespace quill {

// `text` with every match of `pattern` deleted. A pattern the engine rejects, or a search that
// hits the match limit, leaves the text as it was: losing a whole chapter to one bad pattern
// is worse than keeping what the pattern meant to remove.
Text DeleteMatches(const Text& pattern, const Text& text);

} // namespace quill

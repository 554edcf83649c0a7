#pragma once

#include "core/text.h"

namespace quill {

// Callers write a double quote inside a pattern or a marker as "#引号"; this puts the quote
// back (exact bytes, every occurrence, left to right).
Text ExpandQuoteMarkers(const Text& text);

} // namespace quill

#pragma once

#include "core/text.h"

namespace quill {

// The address of a page's "下一页" link, else of its "下一章" link, exactly as the page writes
// it; empty when the page has neither.
Text FindContinuationLink(const Text& page);

} // namespace quill

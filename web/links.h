#pragma once

#include "core/controls.h"
#include "core/text.h"

namespace quill {

// The absolute address of a link found on a page, against the site root and the address box's
// current text. Rewrites `link` with the result unless it already holds "http".
Text ResolveLink(Text& link, const Text& siteRoot, const Controls& controls);
// Undoes %XX escapes byte by byte; with `toGbk` the result is read as UTF-8 and converted.
Text PercentDecode(const Text& text, bool toGbk);

} // namespace quill

#pragma once

#include "core/text.h"

namespace quill {

// The text between `left` and the next `right` after it; "#引号" in a marker stands for a double
// quote. `start` 0 or 1 searches from the first byte.
Text TextBetween(const Text& text, const Text& left, const Text& right, int start = 0,
                 bool ignoreCase = false);
Text TextAfterColon(const Text& text);
// The name=value pairs that the Set-Cookie lines of a raw header block set, joined by "; ".
Text CookiesFromHeaders(const Text& rawHeaders);
// Applies the server's cookies to the caller's; both variables are rewritten.
Text MergeCookies(Text& oldCookies, Text& newCookies);
Text CookieName(const Text& pair);
bool HasCookieName(const TextArray& pieces, const Text& name);
Text JoinDistinct(const Text& text, const Text& separator);
// 1-based index of the first element equal to `text`, or -1.
int FindInTextArray(const TextArray& array, const Text& text);

} // namespace quill

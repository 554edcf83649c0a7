#pragma once

#include "text.h"

namespace quill {

// Text rules shared by every subsystem. Positions count bytes from 1 and -1 means "not found".
// Searches, replacements and splits step over a double-byte character (a lead byte 0x81..0xFE
// and the byte after it) as a whole, so a match never begins inside one.

// Width in bytes of the character that starts at 0-based offset `offset`: 2 for a lead byte
// followed by another byte, 1 otherwise.
int CharWidthAt(const Text& text, std::size_t offset);

// First occurrence of `needle` at or after 1-based `start`. An empty needle is found at `start`
// when `start` lies inside the text.
int FindText(const Text& text, const Text& needle, int start = 1);
// The same with ASCII letter case ignored.
int FindTextIgnoreCase(const Text& text, const Text& needle, int start = 1);
bool ContainsText(const Text& text, const Text& needle);

// Every occurrence of `from`, left to right, non-overlapping, replaced by `to`.
Text ReplaceText(const Text& text, const Text& from, const Text& to);

// Pieces between separators: empty pieces at the start and between adjacent separators are
// kept, no empty piece follows a final separator, and an empty text gives no pieces.
TextArray SplitText(const Text& text, const Text& separator);

// Leading and trailing ASCII spaces and full-width spaces (A1 A1) removed; tabs, CR and LF stay.
Text TrimText(const Text& text);

Text LowerAscii(const Text& text);
Text UpperAscii(const Text& text);

// Plain decimal text of a whole number.
Text DecimalText(long long value);

// Concatenation of the elements in order.
Text JoinTexts(const TextArray& pieces, const Text& separator = {});

} // namespace quill

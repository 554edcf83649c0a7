#pragma once

#include <QString>

#include "core/shared_state.h"
#include "core/text.h"

namespace quill {

// The filter box's text cut into characters: a double-byte character, a CR LF, or one byte.
TextArray SplitFilterText(const Text& text);

// The number of elements of FilterChars before FilterCaret, a CR LF counting two positions.
int CaretElementCount(const SharedState& state);

// The filter rules with `caption` put in at the caret of the last snapshot.
Text InsertFilterPattern(const SharedState& state, const Text& caption);

// A selection start of a Qt text box brought to FilterCaret's counting: Qt counts a line break
// one and a character by its UTF-16 units, FilterCaret a CR LF two and every character one.
int FilterCaretFromQt(const QString& plainText, int selectionStart);

// Takes the snapshot the pattern buttons work from, as the box loses the focus.
void TakeFilterSnapshot(SharedState& state, const QString& plainText, int selectionStart);

} // namespace quill

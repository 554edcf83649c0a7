#pragma once

#include "core/text.h"

namespace quill {

// The markup block of a page that carries its text: the div or span content richest in Han
// characters, the earlier one on a tie; empty when no block holds a Han character.
Text ChooseMainBlock(const Text& page);

} // namespace quill

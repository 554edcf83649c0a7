#pragma once

#include "core/text.h"

namespace quill {

// The nineteen lines 编辑框2 shows at start-up, joined by CR LF.
Text HelpText();
// The three lines 编辑框3 holds at start-up, joined by CR LF.
Text PlaceholderRules();

} // namespace quill

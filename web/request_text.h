#pragma once

#include "core/text.h"

namespace quill {

// The agent a request names: the value of a caller's User-Agent line, else the default.
Text UserAgentFor(const Text& headers);

// The whole header block a request sends: the caller's lines, then whichever of Accept, Referer
// (the address itself), Accept-Language, Content-Type and the cookies they lack.
Text RequestHeaderBlock(const Text& headers, const Text& url, const Text& cookies);

} // namespace quill

#pragma once

#include <optional>
#include <string>

#include "match_list.h"

namespace quill::regex_detail {

struct SearchOptions {
    bool caseSensitive = false;
    bool multiline = true;
    bool global = true;
};

// Every match of `pattern` in `subject` (both UTF-8), left to right and without overlap; an
// empty match moves the next search on by one character. Nothing when the pattern is rejected
// or a search runs into the engine's limits.
std::optional<MatchList> FindAllMatches(const std::string& pattern, const std::string& subject,
                                        const SearchOptions& options);

} // namespace quill::regex_detail

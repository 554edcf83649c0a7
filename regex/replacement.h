#pragma once

#include <string>

#include "match_list.h"

namespace quill::regex_detail {

// `subject` with every match replaced by `replacement`, all UTF-8. In the replacement "$$" is a
// dollar sign and "$n" or "$nn" the text of group n (the longest number that names a group);
// any other "$" stands for itself.
std::string ReplaceAll(const std::string& subject, const MatchList& matches,
                       const std::string& replacement);

} // namespace quill::regex_detail

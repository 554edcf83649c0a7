#include "content/delete_matches.h"

#include "regex/regex_object.h"

namespace quill {

Text DeleteMatches(const Text& pattern, const Text& text) {
    RegexObject regex;
    if (!regex.Create(pattern, text)) {
        return text;
    }
    return regex.ReplaceMatches();
}

} // namespace quill

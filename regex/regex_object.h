#pragma once

#include <memory>

#include "core/text.h"

namespace quill {

// One pattern, the text it ran over and all of its matches. Texts go in and come out in code
// page 936; the engine underneath sees Unicode. Local to one operation on one thread.
class RegexObject final {
  public:
    RegexObject();
    ~RegexObject();
    RegexObject(const RegexObject&) = delete;
    RegexObject& operator=(const RegexObject&) = delete;

    // Compiles `pattern` and collects its matches in `subject`. False when the pattern is
    // rejected or the search cannot complete; the object then answers as empty.
    bool Create(const Text& pattern, const Text& subject, bool caseSensitive = false,
                bool multiline = true, bool global = true, bool expandQuotes = false);
    int MatchCount() const;
    // Group `groupIndex` of match `matchIndex`, both 1-based; empty when out of range or when
    // the group took no part in the match.
    Text SubMatchText(int matchIndex, int groupIndex) const;
    // The subject with every match replaced; the empty text after a failed Create.
    Text ReplaceMatches(const Text& replacement = {}) const;
    Text MatchText(int matchIndex) const;
    int SubMatchCount() const;
    Text PatternText() const;

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace quill

#include "regex_object.h"

#include "core/codepage.h"
#include "pattern_search.h"
#include "quote_marker.h"
#include "replacement.h"

namespace quill {

using regex_detail::MatchList;
using regex_detail::Span;

// The subject is kept once, in the engine's UTF-8 form; matches are offsets into it and become
// code page 936 only when asked for.
struct RegexObject::State {
    bool searched = false;
    Text pattern;
    std::string subject;
    MatchList matches;

    // Group `group` (0 = the whole match) of the 1-based match `matchIndex`.
    Text SliceText(int matchIndex, int group) const {
        if (!searched || matchIndex < 1 || !matches.Contains(matchIndex - 1, group)) {
            return {};
        }
        const Span span = matches.At(matchIndex - 1, group);
        if (!span.present) {
            return {};
        }
        return ConvertUtf8ToGbk(subject.substr(span.begin, span.end - span.begin));
    }
};

RegexObject::RegexObject() : m_state(std::make_unique<State>()) {}

RegexObject::~RegexObject() = default;

bool RegexObject::Create(const Text& pattern, const Text& subject, bool caseSensitive,
                         bool multiline, bool global, bool expandQuotes) {
    *m_state = State{};
    m_state->pattern = expandQuotes ? ExpandQuoteMarkers(pattern) : pattern;
    std::string utf8Subject = ConvertGbkToUtf8(subject);
    std::optional<MatchList> matches = regex_detail::FindAllMatches(
        ConvertGbkToUtf8(m_state->pattern), utf8Subject, {caseSensitive, multiline, global});
    if (!matches) {
        return false;
    }
    m_state->searched = true;
    m_state->subject = std::move(utf8Subject);
    m_state->matches = std::move(*matches);
    return true;
}

int RegexObject::MatchCount() const {
    return m_state->searched ? m_state->matches.Count() : 0;
}

Text RegexObject::SubMatchText(int matchIndex, int groupIndex) const {
    // Group 0 is the whole match, which this operation does not hand out.
    if (groupIndex < 1) {
        return {};
    }
    return m_state->SliceText(matchIndex, groupIndex);
}

Text RegexObject::ReplaceMatches(const Text& replacement) const {
    if (!m_state->searched) {
        return {};
    }
    return ConvertUtf8ToGbk(regex_detail::ReplaceAll(m_state->subject, m_state->matches,
                                                     ConvertGbkToUtf8(replacement)));
}

Text RegexObject::MatchText(int matchIndex) const {
    return m_state->SliceText(matchIndex, 0);
}

int RegexObject::SubMatchCount() const {
    return MatchCount() > 0 ? m_state->matches.GroupCount() : 0;
}

Text RegexObject::PatternText() const {
    return m_state->pattern;
}

} // namespace quill

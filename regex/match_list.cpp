#include "match_list.h"

#include "pcre2_handles.h"

namespace quill::regex_detail {

MatchList::MatchList(int groupCount) : m_groupCount(groupCount) {}

void MatchList::Append(const std::size_t* offsets) {
    m_offsets.insert(m_offsets.end(), offsets, offsets + Stride());
}

int MatchList::Count() const {
    return static_cast<int>(m_offsets.size() / Stride());
}

Span MatchList::At(int match, int group) const {
    const std::size_t at = static_cast<std::size_t>(match) * Stride() + 2 * group;
    const std::size_t begin = m_offsets[at];
    const std::size_t end = m_offsets[at + 1];
    if (begin == PCRE2_UNSET || end < begin) {
        return {};
    }
    return {begin, end, true};
}

bool MatchList::Contains(int match, int group) const {
    return match >= 0 && match < Count() && group >= 0 && group <= m_groupCount;
}

} // namespace quill::regex_detail

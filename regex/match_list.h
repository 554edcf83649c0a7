#pragma once

#include <cstddef>
#include <vector>

namespace quill::regex_detail {

// Byte range of one group in the UTF-8 subject; `present` is false for a group that took no
// part in its match.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool present = false;
};

// Every match of one search as offsets into the subject, so a page with many matches costs a
// few words per group instead of a string each.
class MatchList final {
  public:
    MatchList() = default;
    explicit MatchList(int groupCount);

    // `offsets` holds (groupCount + 1) begin/end pairs as PCRE2's ovector does.
    void Append(const std::size_t* offsets);
    int Count() const;
    int GroupCount() const { return m_groupCount; }
    // Group `group` (0 = the whole match) of match `match`, both 0-based and in range.
    Span At(int match, int group) const;
    bool Contains(int match, int group) const;

  private:
    std::size_t Stride() const { return 2 * static_cast<std::size_t>(m_groupCount + 1); }

    int m_groupCount = 0;
    std::vector<std::size_t> m_offsets;
};

} // namespace quill::regex_detail

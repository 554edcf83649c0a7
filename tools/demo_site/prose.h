#pragma once

#include <cstdint>

#include "core/text.h"

namespace quill::demo {

// Deterministic Han prose in code page 936: the same seed always gives the same text, so a
// page can be rebuilt at any time and compared with what a test expects.
class Prose final {
  public:
    explicit Prose(std::uint64_t seed);

    // A run of `minChars` to `maxChars` Han characters.
    Text Words(int minChars, int maxChars);
    // Two ideographic spaces, then sentences of clauses ending in "，" and "。".
    Text Paragraph();

  private:
    int Between(int low, int high);
    std::uint64_t m_state;
};

} // namespace quill::demo

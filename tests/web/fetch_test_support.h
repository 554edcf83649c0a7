#pragma once

#include <string_view>

#include "core/text.h"
#include "web/fetch_page.h"

namespace quill::testing {

// Limits for the length of one test; the ones before come back after it.
class ScopedFetchLimits final {
  public:
    explicit ScopedFetchLimits(const FetchLimits& limits) : m_saved(CurrentFetchLimits()) {
        SetFetchLimits(limits);
    }
    ~ScopedFetchLimits() { SetFetchLimits(m_saved); }
    ScopedFetchLimits(const ScopedFetchLimits&) = delete;
    ScopedFetchLimits& operator=(const ScopedFetchLimits&) = delete;

  private:
    FetchLimits m_saved;
};

// Every byte of a body, zero bytes included.
inline std::string BodyText(const Bytes& body) {
    return std::string(body.begin(), body.end());
}

inline Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

} // namespace quill::testing

#pragma once

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 8
#endif
#include <memory>
#include <pcre2.h>

namespace quill::regex_detail {

// Move-only owners of the PCRE2 objects, so no raw handle outlives or escapes its holder.
template <auto Free> struct Pcre2Free {
    template <typename T> void operator()(T* handle) const { Free(handle); }
};

using CompileContextHandle =
    std::unique_ptr<pcre2_compile_context, Pcre2Free<&pcre2_compile_context_free>>;
using CodeHandle = std::unique_ptr<pcre2_code, Pcre2Free<&pcre2_code_free>>;
using MatchContextHandle =
    std::unique_ptr<pcre2_match_context, Pcre2Free<&pcre2_match_context_free>>;
using MatchDataHandle = std::unique_ptr<pcre2_match_data, Pcre2Free<&pcre2_match_data_free>>;
using JitStackHandle = std::unique_ptr<pcre2_jit_stack, Pcre2Free<&pcre2_jit_stack_free>>;

} // namespace quill::regex_detail

#include "pattern_search.h"

#include <type_traits>

#include "pcre2_handles.h"

namespace quill::regex_detail {
namespace {

static_assert(std::is_same_v<PCRE2_SIZE, std::size_t>);

// Generous for real pages (a block of several megabytes), small enough that a catastrophic
// pattern gives up within a fraction of a second.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kHeapLimitKib = 64 * 1024;
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 8 * 1024 * 1024;

std::uint32_t CompileOptions(const SearchOptions& options) {
    // \C could end a match inside a character, and later searches skip the UTF check.
    std::uint32_t flags = PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_NEVER_BACKSLASH_C;
    if (!options.caseSensitive) {
        flags |= PCRE2_CASELESS;
    }
    if (options.multiline) {
        flags |= PCRE2_MULTILINE;
    }
    return flags;
}

CodeHandle CompilePattern(const std::string& pattern, const SearchOptions& options) {
    CompileContextHandle context(pcre2_compile_context_create(nullptr));
    if (!context) {
        return nullptr;
    }
    // Pages and chapter texts break lines with CR LF: "." then never swallows the CR, and "$"
    // sits before the whole line break.
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    CodeHandle code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                  CompileOptions(options), &error, &errorOffset, context.get()));
    if (code) {
        // Without JIT the interpreter gives the same answers, only slower.
        pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);
    }
    return code;
}

// The holders one search needs; the JIT stack belongs to this search alone.
struct Matcher {
    CodeHandle code;
    MatchContextHandle context;
    MatchDataHandle data;
    JitStackHandle jitStack;
};

std::optional<Matcher> MakeMatcher(CodeHandle code) {
    Matcher matcher{std::move(code), MatchContextHandle(pcre2_match_context_create(nullptr)),
                    nullptr,
                    JitStackHandle(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr))};
    matcher.data.reset(pcre2_match_data_create_from_pattern(matcher.code.get(), nullptr));
    if (!matcher.context || !matcher.data) {
        return std::nullopt;
    }
    pcre2_set_match_limit(matcher.context.get(), kMatchLimit);
    pcre2_set_heap_limit(matcher.context.get(), kHeapLimitKib);
    if (matcher.jitStack) {
        pcre2_jit_stack_assign(matcher.context.get(), nullptr, matcher.jitStack.get());
    }
    return matcher;
}

int GroupCount(const pcre2_code* code) {
    std::uint32_t count = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &count);
    return static_cast<int>(count);
}

// One search from `start`. A search too deep for the JIT stack is run again by the
// interpreter, whose heap limit is far larger.
int MatchAt(const Matcher& matcher, const std::string& subject, std::size_t start,
            std::uint32_t flags) {
    const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.data());
    const int rc = pcre2_match(matcher.code.get(), bytes, subject.size(), start, flags,
                               matcher.data.get(), matcher.context.get());
    if (rc != PCRE2_ERROR_JIT_STACKLIMIT) {
        return rc;
    }
    return pcre2_match(matcher.code.get(), bytes, subject.size(), start, flags | PCRE2_NO_JIT,
                       matcher.data.get(), matcher.context.get());
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Where the search after an empty match at `at` starts: one character further, a CR LF line
// break counting as one character so that no match lands between its two bytes.
std::size_t AfterCharacter(const std::string& subject, std::size_t at) {
    if (at + 1 < subject.size() && subject[at] == '\r' && subject[at + 1] == '\n') {
        return at + 2;
    }
    ++at;
    while (at < subject.size() && IsContinuationByte(subject[at])) {
        ++at;
    }
    return at;
}

} // namespace

std::optional<MatchList> FindAllMatches(const std::string& pattern, const std::string& subject,
                                        const SearchOptions& options) {
    CodeHandle code = CompilePattern(pattern, options);
    if (!code) {
        return std::nullopt;
    }
    std::optional<Matcher> matcher = MakeMatcher(std::move(code));
    if (!matcher) {
        return std::nullopt;
    }
    MatchList matches(GroupCount(matcher->code.get()));
    // The subject is checked for valid UTF-8 once; later searches start at character bounds.
    std::uint32_t flags = 0;
    for (std::size_t start = 0; start <= subject.size();) {
        const int rc = MatchAt(*matcher, subject, start, flags);
        if (rc == PCRE2_ERROR_NOMATCH) {
            break;
        }
        if (rc < 0) {
            return std::nullopt;
        }
        flags = PCRE2_NO_UTF_CHECK;
        const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(matcher->data.get());
        matches.Append(offsets);
        if (!options.global) {
            break;
        }
        start = offsets[1] > offsets[0] ? offsets[1] : AfterCharacter(subject, offsets[1]);
    }
    return matches;
}

} // namespace quill::regex_detail

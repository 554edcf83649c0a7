#include "fuzz_input.h"
#include "regex/regex_object.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const Text pattern = input.next();
    const Text subject = input.next();
    RegexObject regex;
    regex.Create(pattern, subject);
    const int count = regex.MatchCount();
    for (int i = 0; i <= count && i < 8; ++i) {
        regex.MatchText(i);
        regex.SubMatchText(i, 1);
    }
    regex.SubMatchCount();
    regex.ReplaceMatches(input.next());
    regex.PatternText();
    return 0;
}

#include <cstdlib>

#include "core/text_rules.h"
#include "fuzz_input.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const Text text = input.next();
    const Text needle = input.next();
    const Text to = input.next();

    const int found = FindText(text, needle);
    if (found != -1 && text.compare(found - 1, needle.size(), needle) != 0) {
        std::abort();
    }
    FindTextIgnoreCase(text, needle);
    const Text replaced = ReplaceText(text, needle, to);
    if (!needle.empty() && needle == to && replaced != text) {
        std::abort();
    }
    const TextArray pieces = SplitText(text, needle);
    if (!needle.empty() && !text.empty()) {
        Text joined = JoinTexts(pieces, needle);
        // Splitting drops only a final separator.
        if (joined != text && joined + needle != text) {
            std::abort();
        }
    }
    const Text trimmed = TrimText(text);
    if (trimmed.size() > text.size() || text.find(trimmed) == Text::npos) {
        std::abort();
    }
    LowerAscii(text);
    return 0;
}

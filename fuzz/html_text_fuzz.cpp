#include "content/text_cleanup.h"
#include "fuzz_input.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const Text markup = input.next();
    HtmlToText(markup);
    RemoveBlankLines(markup);
    CountHanChars(markup);
    WithTitleLine(input.next(), markup);
    return 0;
}

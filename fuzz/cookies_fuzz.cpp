#include "fuzz_input.h"
#include "web/header_text.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const Text headers = input.next();
    Text oldCookies = input.next();
    Text newCookies = CookiesFromHeaders(headers);
    MergeCookies(oldCookies, newCookies);
    TextBetween(headers, input.next(), input.next());
    JoinDistinct(headers, "; ");
    return 0;
}

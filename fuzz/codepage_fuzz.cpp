#include <cstdlib>

#include "core/codepage.h"
#include "fuzz_input.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Whatever goes in, a GBK round trip through Unicode is stable after one pass.
    const Text gbk = ConvertUtf8ToGbk(ConvertGbkToUtf8(bytes));
    if (ConvertUtf8ToGbk(ConvertGbkToUtf8(gbk)) != gbk) {
        std::abort();
    }
    ConvertUtf8ToGbk(bytes);
    ConvertUtf16ToGbk(ConvertUtf8ToUtf16(bytes));
    ConvertUtf16ToUtf8(ConvertGbkToUtf16(bytes));
    return 0;
}

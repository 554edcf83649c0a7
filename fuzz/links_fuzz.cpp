#include "fuzz_input.h"
#include "tests/support/memory_controls.h"
#include "web/links.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    Text link = input.next();
    const Text siteRoot = input.next();
    testing::MemoryControls controls;
    controls.setAddress(input.next());
    ResolveLink(link, siteRoot, controls);
    PercentDecode(link, true);
    PercentDecode(siteRoot, false);
    return 0;
}

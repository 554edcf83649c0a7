#include <cstdlib>

#include "app/table_of_contents.h"
#include "fuzz_input.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    TextArray titles;
    TextArray urls;
    for (int i = 0; i < 64; ++i) {
        Text url = input.next();
        Text title = input.next();
        if (url.empty() && title.empty()) {
            break;
        }
        urls.push_back(std::move(url));
        titles.push_back(std::move(title));
    }
    SelectChapterLinks(titles, urls);
    if (titles.size() != urls.size()) {
        std::abort();
    }
    return 0;
}

#include "content/continuation_link.h"

#include "core/codepage.h"
#include "regex/regex_object.h"

namespace quill {
namespace {

const char* const kNextPagePattern =
    R"(href=["']*([\w/:\-\.]+)["']*["'\w\s=]*>下一页[:\u4e00-\u9fa5\s\(\)\w]*</a>)";
const char* const kNextChapterPattern = R"(href=["']*([\w/:\-\.]+)["']*["'\w\s=]*>下一章</a>)";

Text FirstLink(const char* pattern, const Text& page) {
    RegexObject links;
    links.Create(Gbk(pattern), page);
    return links.SubMatchText(1, 1);
}

} // namespace

Text FindContinuationLink(const Text& page) {
    const Text nextPage = FirstLink(kNextPagePattern, page);
    return nextPage.empty() ? FirstLink(kNextChapterPattern, page) : nextPage;
}

} // namespace quill

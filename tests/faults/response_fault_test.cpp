#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "tests/faults/fault_batch.h"

namespace quill::testing {
namespace {

using Ending = RawReply::Ending;

// Row 1 of three; rows 0 and 2 are always served whole.
const std::string kFaultyPath = "/c/2.html";

// Serves row 1's address `path` (and wherever it leads) on the site.
using Serve = std::function<void(FaultSite& site, const std::string& path)>;

struct ResponseCase {
    const char* name;
    Serve serve;
    // Row 1's chapter text in the book; empty: left out of the book and still "待下载".
    Text stored;
};

std::ostream& operator<<(std::ostream& out, const ResponseCase& testCase) {
    return out << testCase.name;
}

Serve Serves(const RawReply& reply) {
    return [reply](FaultSite& site, const std::string& path) { site.serve(path, reply); };
}

Serve ServesPage(int status, const std::string& page) {
    return Serves(HttpReply(status, page));
}

std::string FaultyPage() {
    return ChapterPage(ChapterBody(1));
}

// The head and the first half of row 1's page, then the connection ends as said. The head
// announces the whole length.
RawReply HalfPage(Ending ending) {
    const RawReply whole = HttpReply(200, FaultyPage());
    return CutReply(whole, whole.bytes.size() - FaultyPage().size() / 2, ending);
}

// Row 1's page grown to exactly `size` bytes by a block without Han characters.
std::string PageOfSize(std::size_t size) {
    const std::string open = "<div class=\"pad\">";
    const std::size_t bare = ChapterPage(ChapterBody(1), open + "</div>").size();
    return ChapterPage(ChapterBody(1), open + std::string(size - bare, 'x') + "</div>");
}

// `redirects` hops from row 1's address to its page.
void ServeRedirectChain(FaultSite& site, const std::string& path, int redirects) {
    const auto hop = [](int n) { return "/hop/" + std::to_string(n); };
    site.serve(path, RedirectReply(hop(1)));
    for (int n = 1; n < redirects; ++n) {
        site.serve(hop(n), RedirectReply(hop(n + 1)));
    }
    site.servePage(hop(redirects), FaultyPage());
}

const std::string kZero(1, '\0');

// Row 1's first page leads on to a continuation page that answers so.
Serve ContinuationAnswers(const RawReply& reply) {
    return [reply](FaultSite& site, const std::string& path) {
        site.servePage(path, ChapterPage(ChapterBody(1), NextPageLink("/c/2_2.html")));
        site.serve("/c/2_2.html", reply);
    };
}

// A continuation page that cannot be read ends the chapter: what came before is stored and
// marked done, the lost page leaving a blank line.
const Text kFirstPageOnly = ChapterBody(1) + "\r\n";

std::vector<ResponseCase> TransportCases() {
    return {
        {"StallBeforeTheStatusLine", Serves({"", Ending::Stall}), {}},
        {"StallMidBody", Serves(HalfPage(Ending::Stall)), {}},
        {"ResetBeforeTheStatusLine", Serves({"", Ending::Reset}), {}},
        {"ResetMidBody", Serves(HalfPage(Ending::Reset)), {}},
        {"BodyShorterThanItsContentLength", Serves(HalfPage(Ending::Close)), {}},
        {"BodyEndedByTheClose", Serves(UndeclaredLengthReply(FaultyPage())), ChapterBody(1)},
        {"ContinuationPageStalls", ContinuationAnswers({"", Ending::Stall}), kFirstPageOnly},
        {"ContinuationPageResetMidBody", ContinuationAnswers(HalfPage(Ending::Reset)),
         kFirstPageOnly},
    };
}

// The status is never looked at: an error page is a page like any other.
std::vector<ResponseCase> StatusCases() {
    return {
        {"NotFoundWithoutBody", [](FaultSite&, const std::string&) {}, {}},
        {"NotFoundPage", ServesPage(404, ChapterPage(Gbk("抱歉，您访问的页面不存在。"))),
         Gbk("抱歉，您访问的页面不存在。")},
        {"ServerErrorWithoutBody", ServesPage(500, ""), {}},
        {"ServerErrorPage", ServesPage(500, ChapterPage(Gbk("服务器繁忙，请稍后再试。"))),
         Gbk("服务器繁忙，请稍后再试。")},
    };
}

std::vector<ResponseCase> RedirectCases() {
    return {
        {"RedirectChainAtTheLimit",
         [](FaultSite& site, const std::string& path) {
             ServeRedirectChain(site, path, kMaxRedirects);
         },
         ChapterBody(1)},
        {"RedirectChainBeyondTheLimit",
         [](FaultSite& site, const std::string& path) {
             ServeRedirectChain(site, path, kMaxRedirects + 1);
         },
         {}},
        {"RedirectToItself",
         [](FaultSite& site, const std::string& path) { site.serve(path, RedirectReply(path)); },
         {}},
        {"RedirectLoop",
         [](FaultSite& site, const std::string& path) {
             site.serve(path, RedirectReply("/loop/a"));
             site.serve("/loop/a", RedirectReply("/loop/b"));
             site.serve("/loop/b", RedirectReply("/loop/a"));
         },
         {}},
    };
}

std::vector<ResponseCase> BodySizeCases() {
    return {
        {"BodyAtTheCap", ServesPage(200, PageOfSize(kBodyCap)), ChapterBody(1)},
        {"DeclaredBodyAboveTheCap", ServesPage(200, PageOfSize(kBodyCap + 1)), {}},
        {"UndeclaredBodyAboveTheCap", Serves(UndeclaredLengthReply(PageOfSize(kBodyCap + 1))), {}},
    };
}

// The page ends at its first zero byte.
std::vector<ResponseCase> ZeroByteCases() {
    return {
        {"ZeroByteBeforeARicherBlock",
         ServesPage(200, ChapterPage(ChapterBody(1), kZero + "<div>" + Gbk("更多更多的正文内容，") +
                                                         ChapterBody(1) + "</div>")),
         ChapterBody(1)},
        {"ZeroByteInsideTheTextBlock",
         ServesPage(200, ChapterPage(Gbk("前半段正文") + kZero + Gbk("后半段正文"))),
         {}},
        {"ZeroByteBeforeTheNextPageLink",
         [](FaultSite& site, const std::string& path) {
             site.servePage(path, ChapterPage(ChapterBody(1), kZero + NextPageLink("/c/2_2.html")));
             site.servePage("/c/2_2.html", ChapterPage(Gbk("不该读到的续页")));
         },
         ChapterBody(1)},
    };
}

std::vector<ResponseCase> CharsetCases() {
    return {
        {"Utf8DeclaredUtf8",
         ServesPage(200, ChapterPage(ConvertGbkToUtf8(ChapterBody(1)), {}, "utf-8")),
         ChapterBody(1)},
        // Read as UTF-8, the bytes are malformed: no Han character is left to choose a block by.
        {"GbkDeclaredUtf8", ServesPage(200, ChapterPage(Gbk(kUtf8ReadableAsGbk), {}, "utf-8")), {}},
        // Not converted: the bytes pass through unchanged, read as the Han characters they spell
        // in code page 936.
        {"Utf8DeclaredGbk", ServesPage(200, ChapterPage(kUtf8ReadableAsGbk, {}, "gbk")),
         kUtf8ReadableAsGbk},
        // Each byte that starts no valid pair becomes "?"; a lead byte never swallows the "<"
        // of the close tag after it.
        {"InvalidGbkPairs",
         ServesPage(200, ChapterPage(Gbk("正文甲") + "\xFF" + Gbk("乙") +
                                     "\x81"
                                     "9" +
                                     Gbk("丙") + "\x81")),
         Gbk("正文甲") + "?" + Gbk("乙") + "?9" + Gbk("丙") + "?"},
    };
}

class ResponseFaultTest : public FaultBatchTest,
                          public ::testing::WithParamInterface<ResponseCase> {};

TEST_P(ResponseFaultTest, faultyRow_isStoredAsServedOrLeftOutWaiting) {
    listRows({"/c/1.html", kFaultyPath, "/c/3.html"});
    m_site.servePage("/c/1.html", ChapterPage(ChapterBody(0)));
    m_site.servePage("/c/3.html", ChapterPage(ChapterBody(2)));
    GetParam().serve(m_site, kFaultyPath);

    ASSERT_TRUE(runBatch());

    expectBook({ChapterBody(0), GetParam().stored, ChapterBody(2)});
    expectClosingMessage(Gbk("《故障之书》下载完毕，合并完成！"));
}

std::string CaseName(const ::testing::TestParamInfo<ResponseCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Transport, ResponseFaultTest, ::testing::ValuesIn(TransportCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Status, ResponseFaultTest, ::testing::ValuesIn(StatusCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Redirects, ResponseFaultTest, ::testing::ValuesIn(RedirectCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(BodySize, ResponseFaultTest, ::testing::ValuesIn(BodySizeCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(ZeroBytes, ResponseFaultTest, ::testing::ValuesIn(ZeroByteCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Charsets, ResponseFaultTest, ::testing::ValuesIn(CharsetCases()),
                         CaseName);

} // namespace
} // namespace quill::testing

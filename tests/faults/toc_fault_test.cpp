#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "app/table_of_contents.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "tests/faults/fault_site.h"
#include "tests/support/memory_controls.h"
#include "tests/web/fetch_test_support.h"

namespace quill::testing {
namespace {

using Ending = RawReply::Ending;

// Far longer than a chapter address, so the chapter-link selection drops the "下一页" links.
const std::string kFirstPage = "/toc/index-of-the-book-page-1.html";
const std::string kSecondPage = "/toc/index-of-the-book-page-2.html";
const std::string kThirdPage = "/toc/index-of-the-book-page-3.html";

std::string ChapterPath(int n) {
    return "/c/" + std::to_string(n) + ".html";
}

Text TocChapterTitle(int n) {
    return Gbk("第") + DecimalText(n) + Gbk("章");
}

// A table-of-contents page listing chapters `first` to `last`, with a "下一页" link to `next`
// unless it is empty.
std::string TocPage(int first, int last, const std::string& next = {}) {
    std::string page = "<html><head><meta charset=\"gbk\"><title>" + Gbk("故障之书最新章节") +
                       "</title></head><body>\r\n";
    for (int n = first; n <= last; ++n) {
        page += "<a href=\"" + ChapterPath(n) + "\">" + TocChapterTitle(n) + "</a>\r\n";
    }
    if (!next.empty()) {
        page += NextPageLink(next) + "\r\n";
    }
    return page + "</body></html>";
}

struct TocCase {
    const char* name;
    std::function<void(FaultSite& site)> serve;
    int chapters; // chapters 1 .. chapters are listed, in order
    Text bookTitle;
    int requests;
};

std::ostream& operator<<(std::ostream& out, const TocCase& testCase) {
    return out << testCase.name;
}

// The first page lists chapters 1 to 5 and leads to the second page, which answers so.
std::function<void(FaultSite&)> SecondPageAnswers(const RawReply& reply) {
    return [reply](FaultSite& site) {
        site.servePage(kFirstPage, TocPage(1, 5, kSecondPage));
        site.serve(kSecondPage, reply);
    };
}

RawReply HalfTocPage(Ending ending) {
    const std::string page = TocPage(6, 10);
    const RawReply whole = HttpReply(200, page);
    return CutReply(whole, whole.bytes.size() - page.size() / 2, ending);
}

// A "下一页" chain that leads back to a page already read ends there.
std::vector<TocCase> CycleCases() {
    return {
        {"LastPageLinksToItself",
         [](FaultSite& site) {
             site.servePage(kFirstPage, TocPage(1, 5, kSecondPage));
             site.servePage(kSecondPage, TocPage(6, 10, kSecondPage));
         },
         10, Gbk("故障之书"), 2},
        {"SecondPageLinksBackToTheFirst",
         [](FaultSite& site) {
             site.servePage(kFirstPage, TocPage(1, 5, kSecondPage));
             site.servePage(kSecondPage, TocPage(6, 10, kFirstPage));
         },
         10, Gbk("故障之书"), 2},
        {"ThirdPageLinksBackToTheSecond",
         [](FaultSite& site) {
             site.servePage(kFirstPage, TocPage(1, 5, kSecondPage));
             site.servePage(kSecondPage, TocPage(6, 10, kThirdPage));
             site.servePage(kThirdPage, TocPage(11, 15, kSecondPage));
         },
         15, Gbk("故障之书"), 3},
    };
}

// A second page that cannot be read adds nothing; the first page's chapters stay.
std::vector<TocCase> SecondPageFaultCases() {
    return {
        {"SecondPageStalls", SecondPageAnswers({"", Ending::Stall}), 5, Gbk("故障之书"), 2},
        {"SecondPageResetMidBody", SecondPageAnswers(HalfTocPage(Ending::Reset)), 5,
         Gbk("故障之书"), 2},
        {"SecondPageTruncated", SecondPageAnswers(HalfTocPage(Ending::Close)), 5, Gbk("故障之书"),
         2},
        {"SecondPageAboveTheCap",
         SecondPageAnswers(UndeclaredLengthReply(TocPage(6, 10) + std::string(kBodyCap, ' '))), 5,
         Gbk("故障之书"), 2},
        {"SecondPageRedirectsToItself", SecondPageAnswers(RedirectReply(kSecondPage)), 5,
         Gbk("故障之书"), 2 + kMaxRedirects},
        {"FirstPageStalls",
         [](FaultSite& site) {
             site.serve(kFirstPage, RawReply{"", Ending::Stall});
         },
         0,
         {},
         1},
    };
}

class TocFaultTest : public ::testing::TestWithParam<TocCase> {
  protected:
    ScopedFetchLimits m_limits{FaultLimits()};
    MemoryControls m_controls;
    FaultSite m_site;
};

TEST_P(TocFaultTest, collectedList_holdsEveryReadablePageOnce) {
    GetParam().serve(m_site);
    m_controls.setAddress(m_site.url(kFirstPage));
    TableOfContents toc;

    ASSERT_TRUE(ReturnsInTime(
        [&] { toc = CollectTableOfContents(m_site.url(kFirstPage), m_controls); }, m_site));

    TextArray titles;
    TextArray urls;
    for (int n = 1; n <= GetParam().chapters; ++n) {
        titles.push_back(TocChapterTitle(n));
        urls.push_back(m_site.url(ChapterPath(n)));
    }
    EXPECT_EQ(toc.titles, titles);
    EXPECT_EQ(toc.urls, urls);
    EXPECT_EQ(toc.bookTitle, GetParam().bookTitle);
    EXPECT_EQ(m_site.requestCount(), GetParam().requests);
}

std::string CaseName(const ::testing::TestParamInfo<TocCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Cycles, TocFaultTest, ::testing::ValuesIn(CycleCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(PageFaults, TocFaultTest, ::testing::ValuesIn(SecondPageFaultCases()),
                         CaseName);

} // namespace
} // namespace quill::testing

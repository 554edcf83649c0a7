#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "content/chapter_text.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "tests/faults/fault_batch.h"

namespace quill::testing {
namespace {

struct ChainCase {
    const char* name;
    std::vector<std::string> rows;                          // the list's addresses, by path
    std::vector<std::pair<std::string, std::string>> pages; // path, whole page
    std::vector<Text> stored;                               // each row's chapter text in the book
    int requests;                                           // fetches the whole batch makes
};

std::ostream& operator<<(std::ostream& out, const ChainCase& testCase) {
    return out << testCase.name;
}

// Text blocks of the pages; none holds a row title.
Text Block(int n) {
    return Gbk("正文片段") + DecimalText(n) + Gbk("，春眠不觉晓，处处闻啼鸟。");
}

std::pair<std::string, std::string> Page(const std::string& path, int block,
                                         const Text& link = {}) {
    return {path, ChapterPage(Block(block), link)};
}

Text Lines(const std::vector<int>& blocks) {
    Text text;
    for (const int block : blocks) {
        text += (text.empty() ? "" : "\r\n") + Block(block);
    }
    return text;
}

// A chain that comes back to a page already read ends there: every page is read once.
std::vector<ChainCase> CycleCases() {
    return {
        {"PageLinkingToItself",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextPageLink("/c/1.html")), Page("/c/2.html", 9)},
         {Lines({1}), Lines({9})},
         2},
        {"TwoPageCycle",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextPageLink("/c/1_2.html")),
          Page("/c/1_2.html", 2, NextPageLink("/c/1.html")), Page("/c/2.html", 9)},
         {Lines({1, 2}), Lines({9})},
         3},
        {"CycleBackToTheSecondPage",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextPageLink("/c/1_2.html")),
          Page("/c/1_2.html", 2, NextPageLink("/c/1_3.html")),
          Page("/c/1_3.html", 3, NextPageLink("/c/1_2.html")), Page("/c/2.html", 9)},
         {Lines({1, 2, 3}), Lines({9})},
         4},
        {"NextChapterCycle",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextChapterLink("/x/9.html")),
          Page("/x/9.html", 2, NextChapterLink("/c/1.html")), Page("/c/2.html", 9)},
         {Lines({1, 2}), Lines({9})},
         3},
    };
}

// Only the next row's address stops a chain; any other link is read as this chapter's.
std::vector<ChainCase> NextChapterCases() {
    return {
        {"NextPageLinkIntoTheNextRow",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextPageLink("/c/2.html")), Page("/c/2.html", 9)},
         {Lines({1}), Lines({9})},
         2},
        {"NextChapterLinkIntoTheNextRow",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextChapterLink("/c/2.html")), Page("/c/2.html", 9)},
         {Lines({1}), Lines({9})},
         2},
        {"ContinuationPageThenTheNextRow",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextPageLink("/c/1_2.html")),
          Page("/c/1_2.html", 2, NextChapterLink("/c/2.html")), Page("/c/2.html", 9)},
         {Lines({1, 2}), Lines({9})},
         3},
        {"LinkIntoARowFurtherDown",
         {"/c/1.html", "/c/2.html", "/c/3.html"},
         {Page("/c/1.html", 1, NextChapterLink("/c/3.html")), Page("/c/2.html", 2),
          Page("/c/3.html", 3)},
         {Lines({1, 3}), Lines({2}), Lines({3})},
         4},
        {"LastRowFollowsItsLinkBeyondTheList",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextChapterLink("/c/2.html")),
          Page("/c/2.html", 2, NextChapterLink("/c/3.html")), Page("/c/3.html", 3)},
         {Lines({1}), Lines({2, 3})},
         3},
        // After "倒序" the next row is the chapter before: every chapter runs on to the end.
        {"ReversedList",
         {"/c/3.html", "/c/2.html", "/c/1.html"},
         {Page("/c/1.html", 1, NextChapterLink("/c/2.html")),
          Page("/c/2.html", 2, NextChapterLink("/c/3.html")), Page("/c/3.html", 3)},
         {Lines({3}), Lines({2, 3}), Lines({1, 2, 3})},
         6},
    };
}

// The first page's charset decides how every later page of the chapter is read.
std::vector<ChainCase> MixedCharsetCases() {
    return {
        // The GBK page read as UTF-8 has no Han character left: an empty block, a blank line.
        {"Utf8PageThenGbkPage",
         {"/c/1.html", "/c/2.html"},
         {{"/c/1.html", ChapterPage(ConvertGbkToUtf8(Block(1)),
                                    ConvertGbkToUtf8(NextPageLink("/c/1_2.html")), "utf-8")},
          {"/c/1_2.html", ChapterPage(Gbk(kUtf8ReadableAsGbk))},
          Page("/c/2.html", 9)},
         {Lines({1}) + "\r\n", Lines({9})},
         3},
        // The UTF-8 page is not converted: its bytes pass through unchanged.
        {"GbkPageThenUtf8Page",
         {"/c/1.html", "/c/2.html"},
         {Page("/c/1.html", 1, NextPageLink("/c/1_2.html")),
          {"/c/1_2.html", ChapterPage(kUtf8ReadableAsGbk, {}, "utf-8")},
          Page("/c/2.html", 9)},
         {Lines({1}) + "\r\n" + kUtf8ReadableAsGbk, Lines({9})},
         3},
    };
}

class ChainFaultTest : public FaultBatchTest, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(ChainFaultTest, book_holdsWhatEachRowsChainReads) {
    listRows(GetParam().rows);
    for (const auto& [path, page] : GetParam().pages) {
        m_site.servePage(path, page);
    }

    ASSERT_TRUE(runBatch());

    expectBook(GetParam().stored);
    EXPECT_EQ(m_site.requestCount(), GetParam().requests);
}

std::string CaseName(const ::testing::TestParamInfo<ChainCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Cycles, ChainFaultTest, ::testing::ValuesIn(CycleCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(NextChapter, ChainFaultTest, ::testing::ValuesIn(NextChapterCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(MixedCharsets, ChainFaultTest, ::testing::ValuesIn(MixedCharsetCases()),
                         CaseName);

Text ContinueButton(const std::string& path) {
    return "<a href=\"" + path + "\" class=\"ldgbtn\">" + Gbk("本章未完点击此处继续阅读") + "</a>";
}

// The viewer's extraction turns the continue button into a link; the cycle behind it still
// ends.
TEST_F(FaultBatchTest, viewerExtraction_endsACycleBehindAContinueButton) {
    listRows({"/c/1.html"});
    m_site.servePage("/c/1.html", ChapterPage(Block(1), ContinueButton("/c/1_2.html")));
    m_site.servePage("/c/1_2.html", ChapterPage(Block(2), NextPageLink("/c/1.html")));
    Text text;

    ASSERT_TRUE(
        ReturnsInTime([&] { text = ExtractChapterText(m_state, m_controls, 0, true); }, m_site));

    EXPECT_EQ(text, Lines({1, 2}));
    EXPECT_EQ(m_site.requestCount(), 2);
}

} // namespace
} // namespace quill::testing

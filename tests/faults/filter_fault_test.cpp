#include <ostream>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "tests/faults/fault_batch.h"

namespace quill::testing {
namespace {

// Forty "a"s and a "!": a line on which `^(a+)+$` backtracks without end.
const std::string kRunOfAs = std::string(40, 'a') + "!";

// The chapter's text: its body line, then the line of "a"s.
Text ChapterText() {
    return ChapterBody(0) + "\r\n" + kRunOfAs;
}

struct FilterCase {
    const char* name;
    Text rules; // the filter box, lines joined by CR LF
    Text stored;
};

std::ostream& operator<<(std::ostream& out, const FilterCase& testCase) {
    return out << testCase.name;
}

// A rule that cannot run is skipped; the rules around it still apply.
std::vector<FilterCase> FilterCases() {
    const Text filtered = Gbk("正文1，不觉晓，处处闻啼鸟。") + "\r\n" + std::string(40, 'a');
    return {
        {"RejectedRule", "([a-z", ChapterText()},
        {"SeveralRejectedRules", "([a-z\r\n[z-a]\r\n*\r\n\\", ChapterText()},
        {"RejectedRuleBetweenValidOnes", Gbk("春眠") + "\r\n([a-z\r\n!", filtered},
        {"CatastrophicRule", "^(a+)+$", ChapterText()},
        {"CatastrophicRuleBetweenValidOnes", Gbk("春眠") + "\r\n^(a+)+$\r\n!", filtered},
        // A rule that does run and deletes everything leaves nothing to store.
        {"RuleDeletingEverything", "[\\s\\S]+", {}},
    };
}

class FilterFaultTest : public FaultBatchTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterFaultTest, chapter_isStoredWithEveryRuleThatCanRun) {
    listRows({"/c/1.html"});
    m_site.servePage("/c/1.html", ChapterPage(ChapterBody(0) + "<br/><br/>" + kRunOfAs));
    m_controls.setFilter(true, GetParam().rules);

    ASSERT_TRUE(runBatch());

    expectBook({GetParam().stored});
}

INSTANTIATE_TEST_SUITE_P(Rules, FilterFaultTest, ::testing::ValuesIn(FilterCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill::testing

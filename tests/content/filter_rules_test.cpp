#include <gtest/gtest.h>

#include "content/text_cleanup.h"
#include "core/codepage.h"
#include "tests/support/memory_controls.h"

namespace quill {
namespace {

struct FilterCase {
    const char* name;
    Text rules; // the filter box, lines joined by CR LF
    Text text;
    Text filtered;
};

std::ostream& operator<<(std::ostream& out, const FilterCase& c) {
    return out << c.name;
}

class ApplyFilterRulesTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ApplyFilterRulesTest, deletesWhatTheRulesMatch) {
    testing::MemoryControls controls;
    controls.setFilter(true, GetParam().rules);
    EXPECT_EQ(ApplyFilterRules(GetParam().text, controls), GetParam().filtered);
}

// The first line makes the alternation try every way of splitting its run of letters; the
// rule, run to its end, would delete the second line.
const Text kBacktrackingSubject = std::string(40, 'a') + "!\r\naa";

INSTANTIATE_TEST_SUITE_P(
    Table, ApplyFilterRulesTest,
    ::testing::Values(FilterCase{"emptyBox", "", "abc", "abc"},
                      FilterCase{"placeholderRules", Gbk("过滤规则1\r\n过滤规则2\r\n过滤规则3"),
                                 Gbk("正文过滤规则2正文"), Gbk("正文正文")},
                      FilterCase{"hanRule", Gbk("广告.*?。"), Gbk("正文广告：看这里。正文"),
                                 Gbk("正文正文")},
                      FilterCase{"caseIgnored", "abc", "xABCxabc", "xx"},
                      // Each rule runs on what the rules before it left.
                      FilterCase{"rulesInOrder", "ab\r\nb", "aabb", "a"},
                      FilterCase{"emptyMiddleRule", "a\r\n\r\nb", "abc", "c"},
                      FilterCase{"finalLineBreak", "a\r\nb\r\n", "abc", "c"},
                      // Rules end at CR LF only: a CR or LF of their own belongs to the rule.
                      FilterCase{"splitAtCrLfOnly", "a\r\nb", "a\rb", "\r"},
                      FilterCase{"loneLineFeedInRule", "a\nb", "a\nb x", " x"},
                      FilterCase{"multilineAnchors", "^x.*$", "x1\r\nkeep\r\nx2", "\r\nkeep\r\n"},
                      FilterCase{"rejectedRuleSkipped", "a\r\n(\r\nb", "abc", "c"},
                      FilterCase{"rejectedRuleAlone", "[z", "abc", "abc"},
                      FilterCase{"catastrophicRuleSkipped", "(a|aa)+$\r\n!", kBacktrackingSubject,
                                 std::string(40, 'a') + "\r\naa"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApplyFilterRulesTest, readsTheBoxAtEveryCall) {
    testing::MemoryControls controls;
    controls.setFilter(true, "a");
    EXPECT_EQ(ApplyFilterRules("abc", controls), "bc");
    controls.setFilter(true, "b");
    EXPECT_EQ(ApplyFilterRules("abc", controls), "ac");
}

} // namespace
} // namespace quill

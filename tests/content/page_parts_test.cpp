#include <gtest/gtest.h>

#include "content/continuation_link.h"
#include "content/main_block.h"
#include "core/codepage.h"

namespace quill {
namespace {

struct PageCase {
    const char* name;
    Text page;
    Text expected;
};

std::ostream& operator<<(std::ostream& out, const PageCase& c) {
    return out << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<PageCase>& info) {
    return info.param.name;
}

class ChooseMainBlockTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(ChooseMainBlockTest, picksBlockRichestInHan) {
    EXPECT_EQ(ChooseMainBlock(GetParam().page), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChooseMainBlockTest,
    ::testing::Values(
        PageCase{"noBlocks", Gbk("甲乙丙"), ""},
        PageCase{"blocksWithoutHan", Gbk("甲乙<div>abc</div><span>x</span>"), ""},
        PageCase{"equalCountsEarlierWins", Gbk("<div>甲乙</div><div>丙丁</div>"), Gbk("甲乙")},
        PageCase{"laterRicherWins", Gbk("<div>甲</div><span>乙丙</span>"), Gbk("乙丙")},
        // Exactly half of the page's ten does not end the scan; the tie keeps the earlier.
        PageCase{"halfOfTenThenEqual", Gbk("<div>一二三四五</div><div>六七八九十</div>"),
                 Gbk("一二三四五")},
        PageCase{"sixOfTen", Gbk("<div>一二三四五六</div><div>七八九十</div>"),
                 Gbk("一二三四五六")},
        // Four of nine is less than half: the scan goes on to the richer block.
        PageCase{"fourOfNineThenFive", Gbk("<div>一二三四</div><div>五六七八九</div>"),
                 Gbk("五六七八九")},
        PageCase{"fiveOfNine", Gbk("<div>一二三四五</div>六七<div>八九</div>"), Gbk("一二三四五")},
        PageCase{"emptyDivScoresZero", Gbk("<div id=a></div><span>甲</span>"), Gbk("甲")},
        PageCase{"upperCaseTags", Gbk("<DIV class=\"t\">甲</DIV>"), Gbk("甲")},
        PageCase{"blockEndsAtFirstClose", Gbk("<div>甲<div>乙</div>丙丁</div>"), Gbk("甲<div>乙")},
        PageCase{"blockSpansLines", Gbk("<div>\r\n甲\r\n乙\r\n</div>"), Gbk("\r\n甲\r\n乙\r\n")}),
    CaseName);

class FindContinuationLinkTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(FindContinuationLinkTest, findsNextPageThenNextChapter) {
    EXPECT_EQ(FindContinuationLink(GetParam().page), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindContinuationLinkTest,
    ::testing::Values(
        PageCase{"none", Gbk("<a href=\"/1.html\">目录</a>"), ""},
        PageCase{"nextPage", Gbk("<a href=\"/c/1_2.html\">下一页</a>"), "/c/1_2.html"},
        PageCase{"singleQuotes", Gbk("<a href='/c/1_2.html'>下一页</a>"), "/c/1_2.html"},
        PageCase{"unquoted", Gbk("<a href=1_2.html>下一页</a>"), "1_2.html"},
        PageCase{"attributesAfter", Gbk("<a href=\"/2.html\" class=\"nx\" id=n>下一页</a>"),
                 "/2.html"},
        PageCase{"absolute", Gbk("<a href=\"https://h.example:8080/b/2.html\">下一页</a>"),
                 "https://h.example:8080/b/2.html"},
        PageCase{"labelAfterNextPage", Gbk("<a href=\"/2.html\">下一页（第2页）</a>"), ""},
        PageCase{"asciiLabelAfterNextPage", Gbk("<a href=\"/2.html\">下一页(第2页):</a>"),
                 "/2.html"},
        PageCase{"upperCase", Gbk("<A HREF=\"/2.html\">下一页</A>"), "/2.html"},
        PageCase{"nextChapter", Gbk("<a href=\"/3.html\">下一章</a>"), "/3.html"},
        PageCase{"nextChapterNeedsCloseRightAfter", Gbk("<a href=\"/3.html\">下一章 </a>"), ""},
        PageCase{"nextPagePreferred",
                 Gbk("<a href=\"/3.html\">下一章</a><a href=\"/2.html\">下一页</a>"), "/2.html"},
        PageCase{"firstNextPageWins",
                 Gbk("<a href=\"/2.html\">下一页</a><a href=\"/9.html\">下一页</a>"), "/2.html"},
        PageCase{"queryNotRecognised", Gbk("<a href=\"/2.html?p=2\">下一页</a>"), ""},
        PageCase{"ampersandNotRecognised", Gbk("<a href=\"/r&2.html\">下一页</a>"), ""},
        PageCase{"percentNotRecognised", Gbk("<a href=\"/%32.html\">下一章</a>"), ""},
        PageCase{"fragmentNotRecognised", Gbk("<a href=\"/2.html#t\">下一页</a>"), ""},
        PageCase{"queryPageLinkFallsBackToChapter",
                 Gbk("<a href=\"/2.html?p=2\">下一页</a><a href=\"/3.html\">下一章</a>"),
                 "/3.html"}),
    CaseName);

} // namespace
} // namespace quill

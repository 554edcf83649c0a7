// The patterns the system runs, over small code page 936 subjects: matches, groups and the
// text left when every match is deleted.
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

#include "core/codepage.h"
#include "regex/regex_object.h"

namespace quill {
namespace {

// Group 0 stands for the whole match (MatchText).
struct Expectation {
    int match;
    int group;
    const char* text;
};

struct DialectCase {
    const char* name;
    const char* pattern;
    const char* subject;
    int count;
    std::vector<Expectation> expected;
    // The subject after ReplaceMatches with the empty text; nullptr when it is the subject.
    const char* replaced = nullptr;
};

std::ostream& operator<<(std::ostream& out, const DialectCase& c) {
    return out << c.name;
}

// Literals are UTF-8 in this source; the object is fed and read back in code page 936, and
// answers are compared in UTF-8 so that a failure prints readable text.
class RegexDialect : public ::testing::TestWithParam<DialectCase> {};

TEST_P(RegexDialect, FindsMatchesGroupsAndReplacement) {
    const DialectCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.Create(Gbk(c.pattern), Gbk(c.subject)));
    EXPECT_EQ(regex.MatchCount(), c.count);
    for (const Expectation& e : c.expected) {
        const Text actual =
            e.group == 0 ? regex.MatchText(e.match) : regex.SubMatchText(e.match, e.group);
        EXPECT_EQ(ConvertGbkToUtf8(actual), e.text) << "match " << e.match << " group " << e.group;
    }
    EXPECT_EQ(ConvertGbkToUtf8(regex.ReplaceMatches()), c.replaced ? c.replaced : c.subject);
}

const char* const kSiteRoot = R"re((https*://.*?)/)re";
const char* const kBookTitle = R"re(<title>([\u4e00-\u9fa5-a-z-A-Z\d]+).*?</title>)re";
const char* const kLinks = R"re(href\s*=["']*([\w/:\-\.\?&=]+)["'\s]*.*?>(.*?)<)re";
const char* const kNextPage =
    R"re(href=["']*([\w/:\-\.]+)["']*["'\w\s=]*>下一页[:\u4e00-\u9fa5\s\(\)\w]*</a>)re";
const char* const kNextChapter = R"re(href=["']*([\w/:\-\.]+)["']*["'\w\s=]*>下一章</a>)re";
const char* const kCharset = R"re(charset=['"]*([-\w]+)['"]*)re";
const char* const kBlock = R"re(<div.*?>([\s\S]*?)</div>|<span.*?>([\s\S]*?)</span>)re";
const char* const kTag = R"re(<[\w\s\.=\-,:;%"'/\(\)]+>)re";
const char* const kBlankLines = R"re(\n\s*\r)re";
const char* const kHan = R"re([\u4e00-\u9fa5])re";

const DialectCase kFixedPatterns[] = {
    {"SiteRoot",
     kSiteRoot,
     "http://www.example.com/book/12/",
     1,
     {{1, 1, "http://www.example.com"}},
     "book/12/"},
    {"SiteRootHttpsInCapitals",
     kSiteRoot,
     "HTTPS://H.example/x/",
     1,
     {{1, 1, "HTTPS://H.example"}},
     "x/"},
    {"BookTitle",
     kBookTitle,
     "<title>斗破苍穹-2最新章节_笔趣阁</title>",
     1,
     {{1, 1, "斗破苍穹-2最新章节"}},
     ""},
    {"BookTitleAfterSpace", kBookTitle, "<title> 斗破苍穹</title>", 0, {}},
    {"BookTitleOverTwoLines", kBookTitle, "<title>斗破\r\n苍穹</title>", 0, {}},
    {"Links",
     kLinks,
     R"(<a href="/book/12/1.html">第一章 开始</a><A HREF='2.html' title=x>第二章</A>)",
     2,
     {{1, 1, "/book/12/1.html"}, {1, 2, "第一章 开始"}, {2, 1, "2.html"}, {2, 2, "第二章"}},
     "<a /a><A /A>"},
    {"NextPage",
     kNextPage,
     R"(<a href="/book/12/index_2.html" class="next">下一页</a>)",
     1,
     {{1, 1, "/book/12/index_2.html"}},
     "<a "},
    {"NextPageWithPageNumber",
     kNextPage,
     "<a href=p3.html>下一页(第3页)</a>",
     1,
     {{1, 1, "p3.html"}},
     "<a "},
    {"NextPageWithQueryString", kNextPage, R"(<a href="/list?page=2">下一页</a>)", 0, {}},
    {"NextChapter",
     kNextChapter,
     "<a href='/book/12/4.html'>下一章</a>",
     1,
     {{1, 1, "/book/12/4.html"}},
     "<a "},
    {"NextChapterNeedsClosingTagAtOnce", kNextChapter, R"(<a href="4.html">下一章 </a>)", 0, {}},
    {"CharsetQuoted", kCharset, R"(<meta charset="utf-8">)", 1, {{1, 1, "utf-8"}}, "<meta >"},
    {"CharsetUnquotedInCapitals",
     kCharset,
     R"(<META CONTENT="text/html; CHARSET=UTF8">)",
     1,
     {{1, 1, "UTF8"}},
     R"(<META CONTENT="text/html; >)"},
    {"CharsetFirstDeclarationFirst",
     kCharset,
     "charset=gbk x charset='utf-8'",
     2,
     {{1, 1, "gbk"}, {2, 1, "utf-8"}},
     " x "},
    {"BlockSecondAlternativeLeavesGroupOneEmpty",
     kBlock,
     "<div id=\"c\">第一段\r\n第二段</div><SPAN class=x>旁注</SPAN>",
     2,
     {{1, 1, "第一段\r\n第二段"}, {1, 2, ""}, {2, 1, ""}, {2, 2, "旁注"}},
     ""},
    {"BlockLazyStopsAtFirstEnd",
     kBlock,
     "<div><div>内</div>外</div>",
     1,
     {{1, 1, "<div>内"}},
     "外</div>"},
    {"TagIgnoresCaseAndSkipsOtherCharacters",
     kTag,
     R"(x<BR><p class="a">y<!-- c --><a href="/a?b=1">)",
     2,
     {{1, 0, "<BR>"}, {2, 0, R"(<p class="a">)"}},
     R"(xy<!-- c --><a href="/a?b=1">)"},
    {"BlankLines",
     kBlankLines,
     "一\r\n\r\n  \r\n二\r\n三",
     1,
     {{1, 0, "\n\r\n  \r"}},
     "一\r\n二\r\n三"},
    {"HanClassCountsCharacters", kHan, "中文abc", 2, {{1, 0, "中"}, {2, 0, "文"}}, "abc"},
};

INSTANTIATE_TEST_SUITE_P(FixedPatterns, RegexDialect, ::testing::ValuesIn(kFixedPatterns),
                         [](const auto& info) { return std::string(info.param.name); });

const DialectCase kConstructs[] = {
    {"FilterButtonAnyCharacterLazy",
     R"re(请记住[\S\s]*?网址)re",
     "请记住\r\n本站网址abc网址",
     1,
     {},
     "abc网址"},
    {"FilterButtonDotLazy",
     "广告.*?结束",
     "广告\r\n结束广告x结束",
     1,
     {{1, 0, "广告x结束"}},
     "广告\r\n结束"},
    {"DotDoesNotCrossCrLf", "a.*b", "a\r\nb", 0, {}},
    {"AnyCharacterClassCrossesCrLf", R"re(a[\s\S]*b)re", "a\r\nb", 1, {}, ""},
    {"DotStopsAtLoneCr", ".+", "ab\rcd", 2, {{1, 0, "ab"}, {2, 0, "cd"}}, "\r"},
    {"EscapesCrAndLf", R"re(\r\n)re", "a\r\nb", 1, {}, "ab"},
    {"DashFirstInClass", R"re([-\w]+)re", "utf-8 x", 2, {{1, 0, "utf-8"}, {2, 0, "x"}}, " "},
    {"LineAnchorsSeeCrLf",
     "^第.*章$",
     "第一章\r\n正文\r\n第二章",
     2,
     {{1, 0, "第一章"}, {2, 0, "第二章"}},
     "\r\n正文\r\n"},
    {"LatinCaseIgnored", "<br>", "a<BR>b<Br>c", 2, {}, "abc"},
    {"ShorthandClassesStayAscii",
     R"re(\w+)re",
     "ab中文cd",
     2,
     {{1, 0, "ab"}, {2, 0, "cd"}},
     "中文"},
    {"HanLiteralInPattern", "第(\\d+)章", "第12章 第3章", 2, {{1, 1, "12"}, {2, 1, "3"}}, " "},
};

INSTANTIATE_TEST_SUITE_P(Constructs, RegexDialect, ::testing::ValuesIn(kConstructs),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

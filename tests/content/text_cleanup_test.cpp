#include <gtest/gtest.h>

#include "content/text_cleanup.h"
#include "core/codepage.h"

namespace quill {
namespace {

struct ConvertCase {
    const char* name;
    Text input;
    Text output;
};

std::ostream& operator<<(std::ostream& out, const ConvertCase& c) {
    return out << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<ConvertCase>& info) {
    return info.param.name;
}

class HtmlToTextTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(HtmlToTextTest, givesPlainTextLines) {
    EXPECT_EQ(HtmlToText(GetParam().input), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HtmlToTextTest,
    ::testing::Values(
        ConvertCase{"empty", "", ""},
        ConvertCase{"doubleBreakBeforeIndentedBreak", Gbk("x<br><br>　　y"), Gbk("x\r\n　　y")},
        ConvertCase{"indentedBreak", Gbk("x<br>　　y"), "x\r\ny"},
        ConvertCase{"capitalBreaksDeletedNotBroken", "x<BR><BR>y", "xy"},
        ConvertCase{"loneBreakJoins", "x<br>y", "xy"},
        ConvertCase{"spacedSelfClosingBreak", "x<br />y", "xy"},
        ConvertCase{"selfClosingBreak", "x<br/>y", "xy"},
        ConvertCase{"doubleSelfClosingBreak", "x<br/><br/>y", "x\r\ny"},
        ConvertCase{"paragraphs", "<p>a</p><p>b</p>", "a\r\nb"},
        ConvertCase{"runOfBreaksCollapses", "x<br><br><br><br><br><br>y", "x\r\ny"},
        ConvertCase{"entitiesKept", "a&amp;b&quot;c&gt;d", "a&amp;b&quot;c&gt;d"},
        ConvertCase{"entitiesRemoved", "a&nbsp;b&lt;cp&amp;gt;d/br&gt;e", "abcde"},
        // Removing "&nbsp;" first leaves an "&lt;" for the later replacement.
        ConvertCase{"spaceRemovedBeforeLessThan", "x&l&nbsp;t;y", "xy"},
        ConvertCase{"breakRemovedBeforeParagraph", "a<<br/>p>b", "a\r\nb"},
        ConvertCase{"tagsDeleted", "a<div class=\"c\" style='w:1%;'>b</div>c", "abc"},
        ConvertCase{"tagSpanningLines", "a<div\r\nid=x>b", "ab"},
        ConvertCase{"commentKept", "a<!-- x -->b", "a<!-- x -->b"},
        ConvertCase{"queryLinkKept", "<a href=\"/r?id=1\">x</a>", "<a href=\"/r?id=1\">x"},
        ConvertCase{"anchorLinkKept", "<a href=\"#top\">x</a>", "<a href=\"#top\">x"},
        ConvertCase{"hanInTagKept", Gbk("<span title=中>x"), Gbk("<span title=中>x")},
        // Blank lines go before tags do, so a line that held a tag stays as an empty line.
        ConvertCase{"tagLineLeftEmpty", "a\r\n<div>\r\nb", "a\r\n\r\nb"},
        ConvertCase{"lineBreaksAtBothEndsDropped", "\r\n<div>a</div>\r\n", "a"}),
    CaseName);

class RemoveBlankLinesTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(RemoveBlankLinesTest, collapsesRunsOfLineBreaks) {
    EXPECT_EQ(RemoveBlankLines(GetParam().input), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoveBlankLinesTest,
    ::testing::Values(
        ConvertCase{"empty", "", ""}, ConvertCase{"loneLineBreak", "\r\n", ""},
        ConvertCase{"twoLineBreaks", "\r\n\r\n", ""},
        ConvertCase{"oneLeadingAndOneTrailingOnly", "\r\n\r\n\r\na\r\n\r\n\r\n", "\r\na\r\n"},
        ConvertCase{"blankLine", "a\r\n\r\nb", "a\r\nb"},
        ConvertCase{"whiteSpaceLines", "a\r\n \t\r\n  \r\nb", "a\r\nb"},
        ConvertCase{"trailingSpaceOfTextLineStays", "a  \r\n\r\nb", "a  \r\nb"},
        ConvertCase{"loneLineFeedsStay", "a\n\nb", "a\n\nb"},
        // The engine's \s is ASCII: a line of ideographic spaces is text.
        ConvertCase{"ideographicSpaceLineStays", Gbk("a\r\n　\r\nb"), Gbk("a\r\n　\r\nb")}),
    CaseName);

struct TitleCase {
    const char* name;
    Text title;
    Text text;
    Text shown;
};

std::ostream& operator<<(std::ostream& out, const TitleCase& c) {
    return out << c.name;
}

class WithTitleLineTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(WithTitleLineTest, addsTitleOnlyWhenMissing) {
    EXPECT_EQ(WithTitleLine(GetParam().title, GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WithTitleLineTest,
    ::testing::Values(
        TitleCase{"missing", Gbk("第一章"), Gbk("正文"), Gbk("第一章\r\n正文")},
        TitleCase{"atStart", Gbk("第一章"), Gbk("第一章\r\n正文"), Gbk("第一章\r\n正文")},
        TitleCase{"inside", Gbk("第一章"), Gbk("正文第一章正文"), Gbk("正文第一章正文")},
        TitleCase{"caseDiffers", "Chapter", "chapter one", "Chapter\r\nchapter one"},
        // D0 CE spans the two characters 中 (D6 D0) and 文 (CE C4): not an occurrence.
        TitleCase{"straddlesCharacters", "\xD0\xCE", Gbk("中文"), "\xD0\xCE\r\n" + Gbk("中文")},
        TitleCase{"emptyTitle", "", "text", "text"},
        TitleCase{"emptyText", "title", "", "title\r\n"}, TitleCase{"bothEmpty", "", "", "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

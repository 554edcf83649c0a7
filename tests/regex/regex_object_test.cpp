#include <climits>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "core/codepage.h"
#include "regex/regex_object.h"

namespace quill {
namespace {

// Every query of an object whose last search did not run answers with the empty value.
void ExpectAnswersEmpty(const RegexObject& regex) {
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubMatchCount(), 0);
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.ReplaceMatches(), "");
    EXPECT_EQ(regex.ReplaceMatches("x"), "");
}

TEST(RegexObject, BeforeCreate_AnswersEmpty) {
    RegexObject regex;
    ExpectAnswersEmpty(regex);
    EXPECT_EQ(regex.PatternText(), "");
}

struct RejectedCase {
    const char* name;
    const char* pattern;
};

std::ostream& operator<<(std::ostream& out, const RejectedCase& c) {
    return out << c.name;
}

class RegexRejected : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(RegexRejected, CreateFails_AndEveryAnswerIsEmpty) {
    RegexObject regex;
    EXPECT_FALSE(regex.Create(GetParam().pattern, "abc (a) [a b"));
    ExpectAnswersEmpty(regex);
    // The engine still holds the pattern it was given.
    EXPECT_EQ(regex.PatternText(), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(Patterns, RegexRejected,
                         ::testing::Values(RejectedCase{"UnclosedClass", "([a-"},
                                           RejectedCase{"UnclosedGroup", "(a"},
                                           RejectedCase{"BadRepeat", "a{2,1}"},
                                           RejectedCase{"NothingToRepeat", "*a"},
                                           RejectedCase{"SingleByteEscape", "a\\Cb"},
                                           RejectedCase{"UnmatchedClosingParenthesis", "a)"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegexObject, IndexesOutOfRange_GiveEmptyText) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(a)(b)", "ab ab"));
    ASSERT_EQ(regex.MatchCount(), 2);
    EXPECT_EQ(regex.SubMatchCount(), 2);
    EXPECT_EQ(regex.SubMatchText(2, 2), "b");
    for (const auto& [match, group] : {std::pair{0, 1},
                                       {3, 1},
                                       {-1, 1},
                                       {INT_MIN, 1},
                                       {INT_MAX, 1},
                                       {1, 0},
                                       {1, 3},
                                       {1, -1},
                                       {1, INT_MAX}}) {
        EXPECT_EQ(regex.SubMatchText(match, group), "") << match << "," << group;
    }
    EXPECT_EQ(regex.MatchText(0), "");
    EXPECT_EQ(regex.MatchText(3), "");
    EXPECT_EQ(regex.MatchText(INT_MIN), "");
}

TEST(RegexObject, GroupOutsideTheMatch_IsEmpty) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(x)?(a)", "a"));
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
    EXPECT_EQ(regex.SubMatchText(1, 2), "a");
    EXPECT_EQ(regex.ReplaceMatches("[$1|$2]"), "[|a]");
}

TEST(RegexObject, SecondCreate_AnswersForTheSecondSearchOnly) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(\\d)", "1 2 3"));
    ASSERT_EQ(regex.MatchCount(), 3);
    ASSERT_TRUE(regex.Create("([a-z])", "x 9"));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.SubMatchText(1, 1), "x");
    EXPECT_EQ(regex.SubMatchText(2, 1), "");
    EXPECT_EQ(regex.ReplaceMatches(), " 9");
}

TEST(RegexObject, FailedCreateAfterSuccess_KeepsNothingOfTheEarlierSearch) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(a)", "aaa"));
    EXPECT_FALSE(regex.Create("(", "aaa"));
    ExpectAnswersEmpty(regex);
    ASSERT_TRUE(regex.Create("a", "aba"));
    EXPECT_EQ(regex.MatchCount(), 2);
}

struct OptionCase {
    const char* name;
    const char* pattern;
    const char* subject;
    bool caseSensitive;
    bool multiline;
    bool global;
    int count;
};

std::ostream& operator<<(std::ostream& out, const OptionCase& c) {
    return out << c.name;
}

class RegexOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(RegexOptions, CountMatches) {
    const OptionCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.Create(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global));
    EXPECT_EQ(regex.MatchCount(), c.count);
}

INSTANTIATE_TEST_SUITE_P(
    Options, RegexOptions,
    ::testing::Values(OptionCase{"CaseIgnoredByDefault", "abc", "ABC abc", false, true, true, 2},
                      OptionCase{"CaseSensitive", "abc", "ABC abc", true, true, true, 1},
                      OptionCase{"MultilineAnchorsAtLines", "^b", "a\r\nb\nb", false, true, true,
                                 2},
                      OptionCase{"SingleLineAnchorsAtStart", "^b", "a\r\nb", false, false, true, 0},
                      OptionCase{"NotGlobalTakesFirst", "a", "aaa", false, true, false, 1},
                      OptionCase{"NotGlobalNoMatch", "z", "aaa", false, true, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegexObject, ExpandQuotes_TurnsMarkerIntoDoubleQuote) {
    RegexObject regex;
    ASSERT_TRUE(
        regex.Create(Gbk("href=#引号(\\w+)#引号"), "href=\"abc\"", false, true, true, true));
    EXPECT_EQ(regex.SubMatchText(1, 1), "abc");
    EXPECT_EQ(regex.PatternText(), "href=\"(\\w+)\"");
}

TEST(RegexObject, WithoutExpandQuotes_MarkerIsMatchedLiterally) {
    RegexObject regex;
    const Text subject = Gbk("href=\"abc\" href=#引号d#引号");
    ASSERT_TRUE(regex.Create(Gbk("href=#引号(\\w+)#引号"), subject));
    ASSERT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.SubMatchText(1, 1), "d");
    EXPECT_EQ(regex.PatternText(), Gbk("href=#引号(\\w+)#引号"));
}

TEST(RegexObject, ReplaceWithoutMatch_ReturnsSubjectByteForByte) {
    const Text subject = Gbk("第一章　天下\r\n正文 abc");
    RegexObject regex;
    ASSERT_TRUE(regex.Create("<div>", subject));
    EXPECT_EQ(regex.ReplaceMatches(), subject);
}

struct ReplacementCase {
    const char* name;
    const char* pattern;
    const char* subject;
    const char* replacement;
    const char* result;
};

std::ostream& operator<<(std::ostream& out, const ReplacementCase& c) {
    return out << c.name;
}

class RegexReplacement : public ::testing::TestWithParam<ReplacementCase> {};

TEST_P(RegexReplacement, ExpandsReplacement) {
    const ReplacementCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.Create(Gbk(c.pattern), Gbk(c.subject)));
    EXPECT_EQ(ConvertGbkToUtf8(regex.ReplaceMatches(Gbk(c.replacement))), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, RegexReplacement,
    ::testing::Values(ReplacementCase{"EmptyDeletesEveryMatch", "b+", "abbcb", "", "ac"},
                      ReplacementCase{"GroupsSwapped", "(\\w+)@(\\w+)", "x@y, p@q", "$2@$1",
                                      "y@x, q@p"},
                      ReplacementCase{"DoubleDollar", "a", "xa", "$$", "x$"},
                      ReplacementCase{"LoneDollarAtEnd", "a", "xa", "$", "x$"},
                      ReplacementCase{"GroupZeroIsLiteral", "(a)", "a", "$0", "$0"},
                      ReplacementCase{"MissingGroupIsLiteral", "(a)", "a", "$2", "$2"},
                      ReplacementCase{"TwoDigitsFallBackToOne", "(a)", "a", "$10", "a0"},
                      ReplacementCase{"TwoDigitGroup", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)",
                                      "abcdefghijk", "$11$10", "kj"},
                      ReplacementCase{"HanTextInAndOut", "(章)", "第一章", "[$1节]", "第一[章节]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegexObject, EmptyMatch_AdvancesByOneCharacter) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("x*", Gbk("中a")));
    EXPECT_EQ(regex.MatchCount(), 3);
    EXPECT_EQ(ConvertGbkToUtf8(regex.ReplaceMatches("-")), "-中-a-");
}

TEST(RegexObject, EmptyMatchAtLineEnd_StepsOverTheWholeCrLf) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("$", "ab\r\ncd"));
    EXPECT_EQ(regex.MatchCount(), 2);
    EXPECT_EQ(regex.ReplaceMatches("#"), "ab#\r\ncd#");
}

TEST(RegexObject, CatastrophicBacktracking_IsAFailedSearch) {
    RegexObject regex;
    EXPECT_FALSE(regex.Create("^(a+)+$", std::string(40, 'a') + "!"));
    ExpectAnswersEmpty(regex);
}

TEST(RegexObject, SamePatternOverHonestInput_Matches) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("^(a+)+$", std::string(40, 'a')));
    EXPECT_EQ(regex.MatchCount(), 1);
}

TEST(RegexObject, DeepGroupRepetition_StillMatches) {
    const Text subject = std::string(200'000, 'a') + "c";
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(?:a|b)*c", subject));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.MatchText(1).size(), subject.size());
}

TEST(RegexObject, HundredThousandMatches_AreAllKept) {
    Text subject;
    for (int i = 0; i < 100'000; ++i) {
        subject += Gbk("章") + std::to_string(i) + " ";
    }
    RegexObject regex;
    ASSERT_TRUE(regex.Create(Gbk("章(\\d+)"), subject));
    ASSERT_EQ(regex.MatchCount(), 100'000);
    EXPECT_EQ(regex.SubMatchText(1, 1), "0");
    EXPECT_EQ(regex.SubMatchText(54'321, 1), "54320");
    EXPECT_EQ(regex.SubMatchText(100'000, 1), "99999");
    EXPECT_EQ(regex.ReplaceMatches(), std::string(100'000, ' '));
}

TEST(RegexObject, BytesThatAreNotCodePage936_AreReplacedNotFatal) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("[\\u4e00-\\u9fa5]", Gbk("中") + "\x81"));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.ReplaceMatches(), "?");
}

} // namespace
} // namespace quill

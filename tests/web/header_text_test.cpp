#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "core/codepage.h"
#include "web/header_text.h"

namespace quill {
namespace {

struct BetweenCase {
    const char* name;
    Text text;
    Text left;
    Text right;
    int start;
    bool ignoreCase;
    Text result;
};

std::ostream& operator<<(std::ostream& out, const BetweenCase& c) {
    return out << c.name;
}

class TextBetweenTest : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, CutsOutTheValue) {
    const BetweenCase& c = GetParam();
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    ::testing::Values(
        BetweenCase{"HostOfAddress", "http://H/x/", "http://", "/", 0, false, "H"},
        BetweenCase{"MissingLeftMarker", "a/b/", "x", "/", 0, false, ""},
        BetweenCase{"MissingRightMarker", "http://H", "http://", "/", 0, false, ""},
        BetweenCase{"QuoteMarkerInLeft", "<a id=\"x\" href=\"u\">", Gbk("href=#引号"), Gbk("#引号"),
                    0, false, "u"},
        BetweenCase{"QuoteMarkerBeforeEquals", "a \"=v;", Gbk("#引号="), ";", 0, false, "v"},
        BetweenCase{"StartPositionSkipsEarlierMarker", "[a][b]", "[", "]", 2, false, "b"},
        BetweenCase{"StartOneIsFirstByte", "[a][b]", "[", "]", 1, false, "a"},
        BetweenCase{"CaseMattersByDefault", "HOST: h\r\n", "host:", "\r\n", 0, false, ""},
        BetweenCase{"CaseIgnoredOnRequest", "HOST: h\r\n", "host:", "\r\n", 0, true, " h"},
        BetweenCase{"MarkerNeverInsideDoubleByteCharacter",
                    // The trail byte of 亍 (D8 A1) and a full-width space (A1 A1) would form
                    // the marker A1 A1 only across two characters.
                    Gbk("亍　x　"), Gbk("　"), Gbk("　"), 0, false, "x"},
        BetweenCase{"EmptyText", "", "a", "b", 0, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextAfterColon, TakesTrimmedRestAfterFirstColon) {
    EXPECT_EQ(TextAfterColon("User-Agent:  Mozilla/5.0 (X11; a:b) "), "Mozilla/5.0 (X11; a:b)");
    EXPECT_EQ(TextAfterColon("no colon"), "");
    EXPECT_EQ(TextAfterColon("x:"), "");
}

struct HeaderCase {
    const char* name;
    Text headers;
    Text cookies;
};

std::ostream& operator<<(std::ostream& out, const HeaderCase& c) {
    return out << c.name;
}

class CookiesFromHeadersTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(CookiesFromHeadersTest, CollectsFirstPairOfEachLine) {
    EXPECT_EQ(CookiesFromHeaders(GetParam().headers), GetParam().cookies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CookiesFromHeadersTest,
    ::testing::Values(
        HeaderCase{"WithAttributes", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/; HttpOnly\r\n\r\n",
                   "a=1"},
        HeaderCase{"WithoutAttributes", "HTTP/1.1 200 OK\r\nSet-Cookie: b=2\r\n", "b=2"},
        HeaderCase{"TwoLines",
                   "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/; HttpOnly\r\nContent-Type: text/html"
                   "\r\nSet-Cookie: b=2\r\n\r\n",
                   "a=1; b=2"},
        HeaderCase{"NoSetCookieLine", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n", ""},
        HeaderCase{"EmptyBlock", "", ""},
        HeaderCase{"OtherLetterCaseIsNotACookieLine", "set-cookie: a=1\r\n", ""},
        // A line that names Set-Cookie without a value adds no empty pair.
        HeaderCase{"LineWithoutValue", "X-Set-Cookie-Note; x\r\nSet-Cookie: c=3\r\n", "c=3"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MergeCase {
    const char* name;
    Text oldCookies;
    Text newCookies;
    Text merged;
    Text newAfter;
};

std::ostream& operator<<(std::ostream& out, const MergeCase& c) {
    return out << c.name;
}

class MergeCookiesTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, RewritesBothVariables) {
    const MergeCase& c = GetParam();
    Text oldCookies = c.oldCookies;
    Text newCookies = c.newCookies;
    EXPECT_EQ(MergeCookies(oldCookies, newCookies), c.merged);
    EXPECT_EQ(oldCookies, c.merged);
    EXPECT_EQ(newCookies, c.newAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeCookiesTest,
    ::testing::Values(
        MergeCase{"ResponseWinsAndOldFollow", "a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
        MergeCase{"DeletedCookieDropped", "a=1", "a=deleted", "", "a=deleted"},
        MergeCase{"BothEmpty", "", "", "", ""},
        MergeCase{"FullWidthSpacesRemoved", Gbk("a=1;　b=2"), "", "a=1; b=2", ""},
        MergeCase{"RepeatedPairsOnce", "", "x=1; x=1; y=2", "x=1; y=2", "x=1;x=1;y=2"},
        MergeCase{"EmptyPieceSkipped", "a=1;;b=2", "", "a=1; b=2", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CookieName, IsTrimmedPartBeforeFirstEquals) {
    EXPECT_EQ(CookieName(" sid =a=b"), "sid");
    EXPECT_EQ(CookieName(" flag "), "flag");
    EXPECT_EQ(CookieName(""), "");
}

TEST(HasCookieName, ComparesNamesExactly) {
    const TextArray pieces{"a=1", " B=2"};
    EXPECT_TRUE(HasCookieName(pieces, "B"));
    EXPECT_FALSE(HasCookieName(pieces, "b"));
    EXPECT_FALSE(HasCookieName({}, "a"));
}

TEST(JoinDistinct, KeepsFirstOccurrenceInOrder) {
    EXPECT_EQ(JoinDistinct("a; b; a", "; "), "a; b");
    EXPECT_EQ(JoinDistinct("b; a; b; a; c", "; "), "b; a; c");
    EXPECT_EQ(JoinDistinct("", "; "), "");
}

TEST(FindInTextArray, FindsFirstEqualElementFromOne) {
    const TextArray array{"x", Gbk("第一章"), "x"};
    EXPECT_EQ(FindInTextArray(array, "x"), 1);
    EXPECT_EQ(FindInTextArray(array, Gbk("第一章")), 2);
    EXPECT_EQ(FindInTextArray(array, "X"), -1);
    EXPECT_EQ(FindInTextArray({}, ""), -1);
}

} // namespace
} // namespace quill

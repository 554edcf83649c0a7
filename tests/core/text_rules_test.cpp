#include <gtest/gtest.h>

#include "core/codepage.h"
#include "core/text_rules.h"

namespace quill {
namespace {

struct FindCase {
    const char* name;
    Text text;
    Text needle;
    int start;
    int exact;
    int ignoringCase;
};

std::ostream& operator<<(std::ostream& out, const FindCase& c) {
    return out << c.name;
}

class FindTextTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTextTest, findsAtCharacterStartsOnly) {
    const FindCase& c = GetParam();
    EXPECT_EQ(FindText(c.text, c.needle, c.start), c.exact);
    EXPECT_EQ(FindTextIgnoreCase(c.text, c.needle, c.start), c.ignoringCase);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindTextTest,
    ::testing::Values(FindCase{"plain", "abcabc", "c", 1, 3, 3},
                      FindCase{"fromStart", "abcabc", "c", 4, 6, 6},
                      FindCase{"missing", "abc", "x", 1, -1, -1},
                      FindCase{"caseDiffers", "aBc", "bC", 1, -1, 2},
                      // 0x81 0x5C is one character whose trail byte is a backslash.
                      FindCase{"trailByteIsBackslash", "\x81\x5C", "\\", 1, -1, -1},
                      FindCase{"trailByteThenRealBackslash", "\x81\x5C\\", "\\", 1, 3, 3},
                      // 0xB0 0x41: trail byte "A" is no letter to fold.
                      FindCase{"trailByteLetter", "\xB0\x41", "a", 1, -1, -1},
                      FindCase{"trailByteLetterInNeedle", "\xB0\x61", "\xB0\x41", 1, -1, -1},
                      FindCase{"needleStartsAtTrail", "\xD6\xD0\xCE\xC4", "\xD0\xCE", 1, -1, -1},
                      FindCase{"han", "x\xD6\xD0", "\xD6\xD0", 1, 2, 2},
                      FindCase{"emptyNeedle", "abc", "", 1, 1, 1},
                      FindCase{"emptyNeedleEmptyText", "", "", 1, -1, -1},
                      FindCase{"startPastEnd", "abc", "a", 4, -1, -1},
                      FindCase{"loneLeadByteAtEnd", "ab\x81", "\x81", 1, 3, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplaceTextTest, replacesLeftToRightWithoutOverlap) {
    EXPECT_EQ(ReplaceText("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceText("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceText("abc", "b", ""), "ac");
    EXPECT_EQ(ReplaceText("///", "//", "/"), "//");
}

TEST(ReplaceTextTest, neverMatchesInsideDoubleByteCharacter) {
    EXPECT_EQ(ReplaceText("\x81\x5C\\", "\\", "/"), "\x81\x5C/");
    EXPECT_EQ(ReplaceText("\xD6\xD0\xCE\xC4", "\xD0\xCE", "x"), "\xD6\xD0\xCE\xC4");
}

struct SplitCase {
    const char* name;
    Text text;
    Text separator;
    TextArray pieces;
};

std::ostream& operator<<(std::ostream& out, const SplitCase& c) {
    return out << c.name;
}

class SplitTextTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextTest, keepsEmptyPiecesExceptAfterFinalSeparator) {
    EXPECT_EQ(SplitText(GetParam().text, GetParam().separator), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitTextTest,
    ::testing::Values(SplitCase{"empty", "", ";", {}},
                      SplitCase{"noSeparator", "abc", ";", {"abc"}},
                      SplitCase{"leading", ";a", ";", {"", "a"}},
                      SplitCase{"adjacent", "a;;b", ";", {"a", "", "b"}},
                      SplitCase{"final", "a;b;", ";", {"a", "b"}},
                      SplitCase{"onlySeparator", ";", ";", {""}},
                      SplitCase{"crlf", "a\r\n\r\nb\r\n", "\r\n", {"a", "", "b"}},
                      SplitCase{"trailByte", "\x81\x5C\\x", "\\", {"\x81\x5C", "x"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrimTextTest, removesAsciiAndFullWidthSpacesOnly) {
    EXPECT_EQ(TrimText("  a b  "), "a b");
    EXPECT_EQ(TrimText("\xA1\xA1 a\xA1\xA1"), "a");
    EXPECT_EQ(TrimText("\ta\r\n"), "\ta\r\n");
    EXPECT_EQ(TrimText("   "), "");
    EXPECT_EQ(TrimText(""), "");
    // B0 A1 is a character; the A1 after it is a lone byte, not a full-width space.
    EXPECT_EQ(TrimText("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
    EXPECT_EQ(TrimText("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
}

TEST(CaseTest, foldsSingleByteLettersOnly) {
    EXPECT_EQ(LowerAscii("HTTPS://A\xB0\x41"), "https://a\xB0\x41");
    EXPECT_EQ(UpperAscii("abc\xB0\x61"), "ABC\xB0\x61");
}

TEST(DecimalTextTest, hasNoLeadingZeros) {
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(10), "10");
    EXPECT_EQ(DecimalText(-5), "-5");
}

} // namespace
} // namespace quill

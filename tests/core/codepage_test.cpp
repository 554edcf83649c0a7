#include <gtest/gtest.h>

#include "core/codepage.h"
#include "core/text.h"

namespace quill {
namespace {

TEST(CodePageTest, convertsHanBothWays) {
    EXPECT_EQ(ConvertUtf8ToGbk("\xE4\xB8\xAD"), "\xD6\xD0");
    EXPECT_EQ(ConvertGbkToUtf8("\xD6\xD0"), "\xE4\xB8\xAD");
    EXPECT_EQ(ConvertGbkToUtf16("a\xD6\xD0"), u"a\u4E2D");
    EXPECT_EQ(ConvertUtf16ToGbk(u"a\u4E2D"), "a\xD6\xD0");
    EXPECT_EQ(Gbk("下一页"), "\xCF\xC2\xD2\xBB\xD2\xB3");
}

TEST(CodePageTest, emptyStaysEmptyAndAsciiPasses) {
    EXPECT_EQ(ConvertUtf8ToGbk(""), "");
    EXPECT_EQ(ConvertGbkToUtf8(""), "");
    EXPECT_EQ(ConvertUtf8ToGbk("abc <div>"), "abc <div>");
}

TEST(CodePageTest, charactersGbkLacksBecomeQuestionMarks) {
    // U+1F600 and U+0E01 (Thai) have no code page 936 form.
    EXPECT_EQ(ConvertUtf8ToGbk("a\xF0\x9F\x98\x80"
                               "b\xE0\xB8\x81"
                               "c"),
              "a?b?c");
    EXPECT_EQ(ConvertUtf16ToGbk(u"x\U0001F600y"), "x?y");
}

TEST(CodePageTest, malformedUtf8KeepsWellFormedParts) {
    EXPECT_EQ(ConvertUtf8ToGbk("a\xE4\xB8"
                               "b"),
              "a?b");                                             // cut-off sequence
    EXPECT_EQ(ConvertUtf8ToGbk("\xFF\xE4\xB8\xAD"), "?\xD6\xD0"); // invalid byte
    EXPECT_EQ(ConvertUtf8ToGbk("\xC0\xAF"), "??");                // overlong form
    EXPECT_EQ(ConvertUtf8ToGbk("\xE4\xB8\xAD\xE4"), "\xD6\xD0?"); // cut off at the end
}

TEST(CodePageTest, invalidGbkKeepsWellFormedParts) {
    EXPECT_EQ(ConvertGbkToUtf8("a\x81\x20"
                               "b"),
              "a\xEF\xBF\xBD b");
    EXPECT_EQ(ConvertGbkToUtf8("\xD6\xD0\xD6"), "\xE4\xB8\xAD\xEF\xBF\xBD");
    EXPECT_EQ(ConvertUtf16ToGbk(std::u16string(1, char16_t(0xD800)) + u"a"), "?a");
}

TEST(CodePageTest, largeTextRoundTrips) {
    Text gbk;
    for (int i = 0; i < 100000; ++i) {
        gbk += "\xD6\xD0x";
    }
    EXPECT_EQ(ConvertUtf8ToGbk(ConvertGbkToUtf8(gbk)), gbk);
}

TEST(BytesTest, textStopsAtFirstZeroByte) {
    EXPECT_EQ(TextFromBytes(Bytes{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(TextFromBytes(Bytes{}), "");
}

} // namespace
} // namespace quill

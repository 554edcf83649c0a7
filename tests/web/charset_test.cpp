#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "core/codepage.h"
#include "web/charset.h"

namespace quill {
namespace {

struct CharsetCase {
    const char* name;
    const char* page;
    bool utf;
};

std::ostream& operator<<(std::ostream& out, const CharsetCase& c) {
    return out << c.name;
}

class HasUtfCharsetTest : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(HasUtfCharsetTest, ReadsFirstDeclaration) {
    EXPECT_EQ(HasUtfCharset(GetParam().page), GetParam().utf);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HasUtfCharsetTest,
    ::testing::Values(
        CharsetCase{"DoubleQuoted", "<meta charset=\"utf-8\">", true},
        CharsetCase{"SingleQuoted", "<meta charset='utf-8'>", true},
        CharsetCase{"Unquoted", "<meta content=\"text/html; charset=utf-8\">", true},
        CharsetCase{"CapitalsWithoutDash", "<META CONTENT=\"text/html; CHARSET=UTF8\">", true},
        CharsetCase{"Utf16", "<meta charset=\"UTF-16\">", true},
        CharsetCase{"Gbk", "<meta charset=gbk>", false},
        CharsetCase{"Gb2312", "<meta charset=\"gb2312\">", false},
        CharsetCase{"NoDeclaration", "<html><body>utf-8</body></html>", false},
        CharsetCase{"FirstDeclarationWins", "<meta charset=gbk><meta charset=utf-8>", false},
        CharsetCase{"UtfFirst", "<meta charset=utf-8><meta charset=gbk>", true},
        CharsetCase{"Empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8ToGbk, ConvertsHanAndKeepsAscii) {
    EXPECT_EQ(Utf8ToGbk("\xE4\xB8\xAD"), "\xD6\xD0");
    EXPECT_EQ(Utf8ToGbk("abc 123\r\n"), "abc 123\r\n");
    EXPECT_EQ(Utf8ToGbk(""), "");
}

TEST(Utf8ToGbk, MalformedInput_KeepsWellFormedPartsAndReplacesTheRest) {
    // A cut-off sequence, a stray continuation byte and an overlong form, between Han.
    const Text input = "\xE4\xB8\xAD\xE4\xB8x\x80\xC0\xAF\xE6\x96\x87";
    const Text output = Utf8ToGbk(input);
    EXPECT_EQ(output.substr(0, 2), Gbk("中"));
    EXPECT_EQ(output.substr(output.size() - 2), Gbk("文"));
    EXPECT_NE(output.find('x'), Text::npos);
    EXPECT_EQ(output.find_first_not_of(Gbk("中文") + "x?"), Text::npos);
}

TEST(Utf8ToGbk, CharacterOutsideCodePage936_BecomesQuestionMark) {
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                        "b"),
              "a?b");
}

TEST(DecodeToWide, GivesUtf16LittleEndianWithTerminatingZero) {
    EXPECT_EQ(DecodeToWide("\xE4\xB8\xAD"
                           "a"),
              (Bytes{0x2D, 0x4E, 'a', 0, 0, 0}));
    EXPECT_EQ(DecodeToWide("\xD6\xD0", kCodePage936), (Bytes{0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(DecodeToWide("\xD6\xD0", kCodePageAnsi), (Bytes{0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(DecodeToWide(""), (Bytes{0, 0}));
}

TEST(DecodeToWide, LongUtf8Input_IsNotCutShort) {
    Text utf8;
    for (int i = 0; i < 1000; ++i) {
        utf8 += "\xE4\xB8\xAD";
    }
    const Bytes wide = DecodeToWide(utf8);
    EXPECT_EQ(wide.size(), 2 * 1000 + 2u);
    EXPECT_EQ(EncodeFromWide(wide, kCodePage936).size(), 2000u);
}

TEST(EncodeFromWide, StopsAtFirstZeroUnit) {
    EXPECT_EQ(EncodeFromWide(Bytes{0x2D, 0x4E, 0, 0, 'a', 0}), "\xD6\xD0");
    EXPECT_EQ(EncodeFromWide(Bytes{0x2D, 0x4E, 0, 0}, kCodePageUtf8), "\xE4\xB8\xAD");
    EXPECT_EQ(EncodeFromWide(Bytes{'a', 0, 'b'}), "a");
    EXPECT_EQ(EncodeFromWide(Bytes{}), "");
}

struct PageCase {
    const char* name;
    Text page;
    bool utfPage;
    bool percentDecode;
    Text result;
};

std::ostream& operator<<(std::ostream& out, const PageCase& c) {
    return out << c.name;
}

class DecodePageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(DecodePageTest, AppliesTheRule) {
    const PageCase& c = GetParam();
    EXPECT_EQ(DecodePage(c.page, c.utfPage, c.percentDecode), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodePageTest,
    ::testing::Values(PageCase{"UtfPageConverted", "\xE4\xB8\xAD%41", true, false, "\xD6\xD0%41"},
                      PageCase{"UtfPageNotAlsoPercentDecoded", "\xE4\xB8\xAD%41", true, true,
                               "\xD6\xD0%41"},
                      PageCase{"PercentDecodedThenConverted", "%E4%B8%AD", false, true, "\xD6\xD0"},
                      PageCase{"LeftAsItIs", "\xD6\xD0%E4", false, false, "\xD6\xD0%E4"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

#include <gtest/gtest.h>
#include <set>

#include "content/text_cleanup.h"
#include "core/codepage.h"
#include "regex/regex_object.h"

namespace quill {
namespace {

// Every double-byte code, each on a line of its own so that an invalid pair cannot pull its
// neighbour out of step in the engine's conversion.
TextArray EveryDoubleByteCode() {
    TextArray codes;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            codes.push_back(Text{static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    return codes;
}

std::set<Text> HanFoundByEngine(const TextArray& codes) {
    Text lines;
    for (const Text& code : codes) {
        lines += code + "\n";
    }
    RegexObject han;
    EXPECT_TRUE(han.Create(R"([\u4e00-\u9fa5])", lines));
    std::set<Text> found;
    for (int i = 1; i <= han.MatchCount(); ++i) {
        found.insert(han.MatchText(i));
    }
    return found;
}

TEST(CountHanCharsTest, agreesWithEngineClassOnEveryDoubleByteCode) {
    const TextArray codes = EveryDoubleByteCode();
    const std::set<Text> han = HanFoundByEngine(codes);
    ASSERT_GT(han.size(), 20000u); // GBK holds all 20902 of them
    int mismatches = 0;
    for (const Text& code : codes) {
        const int expected = han.count(code) ? 1 : 0;
        if (CountHanChars(code) != expected) {
            ADD_FAILURE() << std::hex
                          << (static_cast<unsigned char>(code[0]) << 8 |
                              static_cast<unsigned char>(code[1]));
            if (++mismatches > 10) {
                return;
            }
        }
    }
}

struct CountCase {
    const char* name;
    Text text;
    int count;
};

std::ostream& operator<<(std::ostream& out, const CountCase& c) {
    return out << c.name;
}

class CountHanCharsCaseTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountHanCharsCaseTest, countsCharactersNotBytes) {
    EXPECT_EQ(CountHanChars(GetParam().text), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CountHanCharsCaseTest,
    ::testing::Values(CountCase{"empty", "", 0}, CountCase{"mixed", Gbk("中文abc"), 2},
                      CountCase{"punctuationIsNotHan", Gbk("，。　“”"), 0},
                      CountCase{"rangeEnds", Gbk("一龥"), 2},
                      // The trail byte of 中 followed by the lead of 文 reads as 形 (D0 CE)
                      // only to a walk that starts inside a character.
                      CountCase{"noMatchInsideCharacter", "a" + Gbk("中文") + "\xD0", 2},
                      CountCase{"markup", Gbk("<div class=\"x\">正文</div>"), 2}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

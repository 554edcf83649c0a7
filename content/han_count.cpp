#include <array>

#include "content/text_cleanup.h"
#include "core/codepage.h"
#include "core/text_rules.h"

namespace quill {
namespace {

using HanTable = std::array<bool, 0x10000>;

bool IsHanCodePoint(char16_t unit) {
    return unit >= 0x4E00 && unit <= 0x9FA5;
}

bool DecodesToHan(unsigned lead, unsigned trail) {
    const Text pair{static_cast<char>(lead), static_cast<char>(trail)};
    const std::u16string wide = ConvertGbkToUtf16(pair);
    return wide.size() == 1 && IsHanCodePoint(wide[0]);
}

// Every double-byte code once, through the same conversion the regex engine's input takes, so
// the count agrees with the engine's class [\u4e00-\u9fa5].
HanTable BuildHanTable() {
    HanTable table{};
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            table[lead << 8 | trail] = DecodesToHan(lead, trail);
        }
    }
    return table;
}

const HanTable& HanCodes() {
    static const HanTable table = BuildHanTable();
    return table;
}

unsigned CodeAt(const Text& text, std::size_t offset) {
    return static_cast<unsigned char>(text[offset]) << 8 |
           static_cast<unsigned char>(text[offset + 1]);
}

} // namespace

int CountHanChars(const Text& text) {
    const HanTable& han = HanCodes();
    int count = 0;
    for (std::size_t at = 0; at < text.size();) {
        const int width = CharWidthAt(text, at);
        if (width == 2 && han[CodeAt(text, at)]) {
            ++count;
        }
        at += width;
    }
    return count;
}

} // namespace quill

#include "charset.h"

#include "core/codepage.h"
#include "core/text_rules.h"
#include "regex/regex_object.h"
#include "web/links.h"

namespace quill {
namespace {

bool IsGbkCodePage(int codePage) {
    return codePage == kCodePage936 || codePage == kCodePageAnsi;
}

// Text in the given code page as UTF-16; an unknown code page converts nothing.
std::u16string ToUtf16(const Text& text, int codePage) {
    if (codePage == kCodePageUtf8) {
        return ConvertUtf8ToUtf16(text);
    }
    return IsGbkCodePage(codePage) ? ConvertGbkToUtf16(text) : std::u16string{};
}

Text FromUtf16(const std::u16string& wide, int codePage) {
    if (codePage == kCodePageUtf8) {
        return ConvertUtf16ToUtf8(wide);
    }
    return IsGbkCodePage(codePage) ? ConvertUtf16ToGbk(wide) : Text{};
}

// The UTF-16LE units of `wide` before its first zero unit; an odd last byte is no unit.
std::u16string UnitsBeforeZero(const Bytes& wide) {
    std::u16string units;
    for (std::size_t at = 0; at + 1 < wide.size(); at += 2) {
        const auto unit = static_cast<char16_t>(wide[at] | (wide[at + 1] << 8));
        if (unit == 0) {
            break;
        }
        units.push_back(unit);
    }
    return units;
}

} // namespace

bool HasUtfCharset(const Text& page) {
    RegexObject regex;
    regex.Create("charset=['\"]*([-\\w]+)['\"]*", page);
    return FindTextIgnoreCase(regex.SubMatchText(1, 1), "UTF") != -1;
}

// The same text as EncodeFromWide (DecodeToWide (text), 936), without the UTF-16 buffers.
Text Utf8ToGbk(const Text& text) {
    return ConvertUtf8ToGbk(text);
}

// Sized by the conversion itself, so no input is cut short.
Bytes DecodeToWide(const Text& text, int codePage) {
    const std::u16string units = ToUtf16(text, codePage);
    Bytes wide;
    wide.reserve(2 * units.size() + 2);
    for (char16_t unit : units) {
        wide.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        wide.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    wide.insert(wide.end(), 2, 0);
    return wide;
}

Text EncodeFromWide(const Bytes& wide, int codePage) {
    return FromUtf16(UnitsBeforeZero(wide), codePage);
}

Text DecodePage(const Text& page, bool utfPage, bool percentDecode) {
    if (utfPage) {
        return Utf8ToGbk(page);
    }
    return percentDecode ? PercentDecode(page, true) : page;
}

} // namespace quill

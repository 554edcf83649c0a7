#pragma once

#include <string>

#include "text.h"

namespace quill {

// Conversions between code page 936 and Unicode over glibc iconv. They never fail: malformed
// input keeps its well-formed parts and the rest is replaced (U+FFFD towards Unicode, "?"
// towards code page 936); characters that code page 936 lacks become "?".

std::string ConvertGbkToUtf8(const Text& gbk);
Text ConvertUtf8ToGbk(const std::string& utf8);

std::u16string ConvertGbkToUtf16(const Text& gbk);
Text ConvertUtf16ToGbk(const std::u16string& utf16);

std::u16string ConvertUtf8ToUtf16(const std::string& utf8);
std::string ConvertUtf16ToUtf8(const std::u16string& utf16);

} // namespace quill

namespace quill {

// Code page 936 text of a literal written in this UTF-8 source, such as Gbk("下一页").
Text Gbk(const char* utf8);

} // namespace quill

#pragma once

#include "core/text.h"

namespace quill {

constexpr int kCodePageAnsi = 0;
constexpr int kCodePage936 = 936;
constexpr int kCodePageUtf8 = 65001;

// True when the page's first charset declaration names a UTF charset.
bool HasUtfCharset(const Text& page);
Text Utf8ToGbk(const Text& text);
// The UTF-16 form of the text, with its terminating zero.
Bytes DecodeToWide(const Text& text, int codePage = kCodePageUtf8);
Text EncodeFromWide(const Bytes& wide, int codePage = kCodePageAnsi);

// The page-decoding rule for a document's further pages: `utfPage` is the first page's answer
// of HasUtfCharset; `percentDecode` is whether 转码 applies (chapter pages only).
Text DecodePage(const Text& page, bool utfPage, bool percentDecode);

} // namespace quill

#include "text_rules.h"

#include <cstring>

namespace quill {
namespace {

bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualAt(const Text& text, std::size_t offset, const Text& needle, bool ignoreCase) {
    if (!ignoreCase) {
        return std::memcmp(text.data() + offset, needle.data(), needle.size()) == 0;
    }
    // Only single-byte characters fold: a trail byte in 0x41..0x5A is no letter.
    for (std::size_t i = 0; i < needle.size();) {
        const int width = CharWidthAt(needle, i);
        if (width == 2) {
            if (text[offset + i] != needle[i] || text[offset + i + 1] != needle[i + 1]) {
                return false;
            }
        } else if (LowerChar(text[offset + i]) != LowerChar(needle[i])) {
            return false;
        }
        i += width;
    }
    return true;
}

// 0-based offset of the first match at a character start at or after `offset` (itself a
// character start), or npos.
std::size_t FindOffset(const Text& text, const Text& needle, std::size_t offset, bool ignoreCase) {
    if (needle.size() > text.size()) {
        return Text::npos;
    }
    const std::size_t last = text.size() - needle.size();
    for (std::size_t at = offset; at <= last; at += CharWidthAt(text, at)) {
        if (EqualAt(text, at, needle, ignoreCase)) {
            return at;
        }
    }
    return Text::npos;
}

int FindFrom(const Text& text, const Text& needle, int start, bool ignoreCase) {
    if (start < 1) {
        start = 1;
    }
    const auto offset = static_cast<std::size_t>(start - 1);
    if (offset >= text.size()) {
        return -1;
    }
    if (needle.empty()) {
        return start;
    }
    const std::size_t found = FindOffset(text, needle, offset, ignoreCase);
    return found == Text::npos ? -1 : static_cast<int>(found) + 1;
}

bool IsSpaceAt(const Text& text, std::size_t offset) {
    if (text[offset] == ' ') {
        return true;
    }
    return offset + 1 < text.size() && static_cast<unsigned char>(text[offset]) == 0xA1 &&
           static_cast<unsigned char>(text[offset + 1]) == 0xA1;
}

Text MapAscii(const Text& text, char low, char high, int shift) {
    Text result = text;
    for (std::size_t i = 0; i < result.size(); i += CharWidthAt(result, i)) {
        if (result[i] >= low && result[i] <= high) {
            result[i] = static_cast<char>(result[i] + shift);
        }
    }
    return result;
}

} // namespace

int CharWidthAt(const Text& text, std::size_t offset) {
    return IsLeadByte(static_cast<unsigned char>(text[offset])) && offset + 1 < text.size() ? 2 : 1;
}

int FindText(const Text& text, const Text& needle, int start) {
    return FindFrom(text, needle, start, false);
}

int FindTextIgnoreCase(const Text& text, const Text& needle, int start) {
    return FindFrom(text, needle, start, true);
}

bool ContainsText(const Text& text, const Text& needle) {
    return FindText(text, needle) != -1;
}

Text ReplaceText(const Text& text, const Text& from, const Text& to) {
    if (from.empty()) {
        return text;
    }
    Text result;
    result.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t at = FindOffset(text, from, 0, false); at != Text::npos;
         at = FindOffset(text, from, done, false)) {
        result.append(text, done, at - done);
        result += to;
        done = at + from.size();
    }
    result.append(text, done, Text::npos);
    return result;
}

TextArray SplitText(const Text& text, const Text& separator) {
    TextArray pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t done = 0;
    for (std::size_t at = FindOffset(text, separator, 0, false); at != Text::npos;
         at = FindOffset(text, separator, done, false)) {
        pieces.push_back(text.substr(done, at - done));
        done = at + separator.size();
    }
    if (done < text.size()) {
        pieces.push_back(text.substr(done));
    }
    return pieces;
}

Text TrimText(const Text& text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsSpaceAt(text, begin)) {
        begin += text[begin] == ' ' ? 1 : 2;
    }
    // The end of the last character that is not a space, walking character starts.
    std::size_t end = begin;
    for (std::size_t at = begin; at < text.size(); at += CharWidthAt(text, at)) {
        if (!IsSpaceAt(text, at)) {
            end = at + CharWidthAt(text, at);
        }
    }
    return text.substr(begin, end - begin);
}

Text LowerAscii(const Text& text) {
    return MapAscii(text, 'A', 'Z', 'a' - 'A');
}

Text UpperAscii(const Text& text) {
    return MapAscii(text, 'a', 'z', 'A' - 'a');
}

Text DecimalText(long long value) {
    return std::to_string(value);
}

Text JoinTexts(const TextArray& pieces, const Text& separator) {
    Text result;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            result += separator;
        }
        result += pieces[i];
    }
    return result;
}

} // namespace quill

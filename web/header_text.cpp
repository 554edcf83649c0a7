#include "header_text.h"

#include <algorithm>

#include "core/codepage.h"
#include "core/text_rules.h"
#include "regex/quote_marker.h"

namespace quill {
namespace {

int FindMarker(const Text& text, const Text& marker, int start, bool ignoreCase) {
    return ignoreCase ? FindTextIgnoreCase(text, marker, start) : FindText(text, marker, start);
}

// Every occurrence of `needle` removed, ASCII letter case ignored.
Text RemoveIgnoreCase(const Text& text, const Text& needle) {
    Text result;
    int done = 1;
    for (int at = FindTextIgnoreCase(text, needle); at != -1;
         at = FindTextIgnoreCase(text, needle, done)) {
        result.append(text, done - 1, at - done);
        done = at + static_cast<int>(needle.size());
    }
    if (static_cast<std::size_t>(done - 1) < text.size()) {
        result.append(text, done - 1, Text::npos);
    }
    return result;
}

// The first name=value pair a Set-Cookie line sets, without its attributes.
Text CookieOfLine(const Text& line) {
    if (!ContainsText(line, ";")) {
        return TrimText(RemoveIgnoreCase(line, "Set-Cookie:"));
    }
    return TrimText(TextBetween(line, "Set-Cookie:", ";"));
}

Text WithoutSpaces(const Text& text) {
    return ReplaceText(ReplaceText(text, " ", ""), Gbk("　"), "");
}

bool IsDeleted(const Text& pair) {
    static const Text marker = "=deleted";
    return pair.size() >= marker.size() &&
           pair.compare(pair.size() - marker.size(), marker.size(), marker) == 0;
}

// Joins the non-empty pieces with "; "; an empty piece would send a malformed cookie.
Text JoinCookies(const TextArray& pieces) {
    TextArray kept;
    std::copy_if(pieces.begin(), pieces.end(), std::back_inserter(kept),
                 [](const Text& piece) { return !piece.empty(); });
    return JoinTexts(kept, "; ");
}

} // namespace

Text TextBetween(const Text& text, const Text& left, const Text& right, int start,
                 bool ignoreCase) {
    const Text leftMarker = ExpandQuoteMarkers(left);
    const Text rightMarker = ExpandQuoteMarkers(right);
    const int found = FindMarker(text, leftMarker, start, ignoreCase);
    if (found == -1) {
        return {};
    }
    const int begin = found + static_cast<int>(leftMarker.size());
    const int end = FindMarker(text, rightMarker, begin, ignoreCase);
    if (end == -1) {
        return {};
    }
    return text.substr(begin - 1, end - begin);
}

Text TextAfterColon(const Text& text) {
    const int colon = FindText(text, ":");
    return colon == -1 ? Text{} : TrimText(text.substr(colon));
}

Text CookiesFromHeaders(const Text& rawHeaders) {
    TextArray cookies;
    for (const Text& line : SplitText(rawHeaders, "\r\n")) {
        if (ContainsText(line, "Set-Cookie")) {
            cookies.push_back(CookieOfLine(line));
        }
    }
    return JoinCookies(cookies);
}

Text MergeCookies(Text& oldCookies, Text& newCookies) {
    oldCookies = WithoutSpaces(oldCookies);
    newCookies = WithoutSpaces(newCookies);
    TextArray pieces = SplitText(newCookies, ";");
    for (const Text& piece : SplitText(oldCookies, ";")) {
        if (!HasCookieName(pieces, CookieName(piece))) {
            pieces.push_back(piece);
        }
    }
    std::erase_if(pieces, IsDeleted);
    oldCookies = JoinDistinct(JoinCookies(pieces), "; ");
    return oldCookies;
}

Text CookieName(const Text& pair) {
    const int equals = FindText(pair, "=");
    return TrimText(equals == -1 ? pair : pair.substr(0, equals - 1));
}

bool HasCookieName(const TextArray& pieces, const Text& name) {
    return std::any_of(pieces.begin(), pieces.end(),
                       [&](const Text& piece) { return CookieName(piece) == name; });
}

Text JoinDistinct(const Text& text, const Text& separator) {
    TextArray kept;
    for (const Text& piece : SplitText(text, separator)) {
        if (FindInTextArray(kept, piece) == -1) {
            kept.push_back(piece);
        }
    }
    return JoinTexts(kept, separator);
}

int FindInTextArray(const TextArray& array, const Text& text) {
    const auto found = std::find(array.begin(), array.end(), text);
    return found == array.end() ? -1 : static_cast<int>(found - array.begin()) + 1;
}

} // namespace quill

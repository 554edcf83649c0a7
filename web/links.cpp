#include "links.h"

#include "charset.h"
#include "core/text_rules.h"

namespace quill {
namespace {

// A link already holds its own address when it names "http" anywhere, or starts with an
// http or https scheme in any letter case (schemes are case-insensitive; "HTTP://G/x" must not
// become "http:HTTP://G/x").
bool IsAbsolute(const Text& link) {
    if (ContainsText(link, "http")) {
        return true;
    }
    return FindTextIgnoreCase(link, "http://") == 1 || FindTextIgnoreCase(link, "https://") == 1;
}

// 1-based position of the last occurrence of `needle`, or -1.
int FindLast(const Text& text, const Text& needle) {
    int last = -1;
    for (int at = FindText(text, needle); at != -1; at = FindText(text, needle, at + 1)) {
        last = at;
    }
    return last;
}

// A bare file name, against the table-of-contents address: appended to a directory address,
// put in place of the file name of an address that ends in one.
Text ResolveFileName(const Text& link, const Text& siteRoot, const Text& address) {
    if (!ContainsText(ReplaceText(address, siteRoot, ""), ".")) {
        return address + link;
    }
    const int slash = FindLast(address, "/");
    return (slash == -1 ? Text{} : address.substr(0, slash)) + link;
}

// A path, absolute or not, against the site root: every run of slashes is folded, then the
// scheme's "//" put back.
Text ResolvePath(const Text& link, const Text& siteRoot) {
    Text joined = ReplaceText(siteRoot + "/" + link, "///", "/");
    joined = ReplaceText(joined, "//", "/");
    return ReplaceText(joined, ":/", "://");
}

// A scheme-relative link takes the site root's scheme.
Text ResolveSchemeRelative(const Text& link, const Text& siteRoot) {
    const int slashes = FindText(siteRoot, "//");
    return (slashes == -1 ? Text{} : siteRoot.substr(0, slashes - 1)) + link;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char upper = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    return (upper >= 'A' && upper <= 'F') ? upper - 'A' + 10 : -1;
}

// The byte that the escape at `at` stands for, or -1 when no two hexadecimal digits follow.
int EscapedByteAt(const Text& text, std::size_t at) {
    if (text[at] != '%' || at + 2 >= text.size()) {
        return -1;
    }
    const int high = HexDigitValue(text[at + 1]);
    const int low = HexDigitValue(text[at + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

} // namespace

Text ResolveLink(Text& link, const Text& siteRoot, const Controls& controls) {
    if (IsAbsolute(link)) {
        return link;
    }
    if (!ContainsText(link, "/")) {
        link = ResolveFileName(link, siteRoot, controls.addressText());
    } else if (!ContainsText(link, "//")) {
        link = ResolvePath(link, siteRoot);
    } else {
        link = ResolveSchemeRelative(link, siteRoot);
    }
    return link;
}

// A "%" without two hexadecimal digits after it is text, not an escape: it stays, and so do
// the bytes after it (a lone "%" in a page must not eat the character that follows).
Text PercentDecode(const Text& text, bool toGbk) {
    Text decoded;
    decoded.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const int byte = EscapedByteAt(text, at);
        if (byte < 0) {
            decoded += text[at++];
            continue;
        }
        // %00 adds nothing: a Text holds no zero bytes.
        if (byte > 0) {
            decoded += static_cast<char>(byte);
        }
        at += 3;
    }
    return toGbk ? Utf8ToGbk(decoded) : decoded;
}

} // namespace quill

#include "content/text_cleanup.h"

#include <utility>
#include <vector>

#include "content/delete_matches.h"
#include "core/codepage.h"
#include "core/text_rules.h"

namespace quill {
namespace {

const Text kLineBreak = "\r\n";

using Replacement = std::pair<Text, Text>;

// Order matters: "<br><br>" must become one line break before a lone "<br>" can be taken as
// the start of "<br>　　".
const std::vector<Replacement>& MarkupReplacements() {
    static const std::vector<Replacement> replacements{
        {"<br><br>", kLineBreak},
        {Gbk("<br>　　"), kLineBreak},
        {"<br/><br/>", kLineBreak},
        {"<br />", ""},
        {"<br/>", ""},
        {"&nbsp;", ""},
        {"p&amp;gt;", ""},
        {"<p>", kLineBreak},
        {"</p>", kLineBreak},
        {"&lt;", ""},
        {"/br&gt;", ""},
    };
    return replacements;
}

Text ReplaceMarkup(Text text) {
    for (const auto& [from, to] : MarkupReplacements()) {
        text = ReplaceText(text, from, to);
    }
    return text;
}

bool StartsWithLineBreak(const Text& text) {
    return text.compare(0, 2, kLineBreak) == 0;
}

bool EndsWithLineBreak(const Text& text) {
    return text.size() >= 2 && text.compare(text.size() - 2, 2, kLineBreak) == 0;
}

} // namespace

Text HtmlToText(const Text& text) {
    const Text lines = RemoveBlankLines(ReplaceMarkup(text));
    return DeleteMatches(R"(<[\w\s\.=\-,:;%"'/\(\)]+>)", lines);
}

Text RemoveBlankLines(const Text& text) {
    Text trimmed = text;
    if (StartsWithLineBreak(trimmed)) {
        trimmed.erase(0, 2);
    }
    if (EndsWithLineBreak(trimmed)) {
        trimmed.erase(trimmed.size() - 2);
    }
    return DeleteMatches(R"(\n\s*\r)", trimmed);
}

Text WithTitleLine(const Text& title, const Text& text) {
    if (FindText(text, title) != -1) {
        return text;
    }
    return title + kLineBreak + text;
}

} // namespace quill

#include "filter_editor.h"

#include <algorithm>

#include "core/text_rules.h"
#include "qt_text.h"

namespace quill {
namespace {

bool IsLineBreak(const Text& element) {
    return element == "\r\n";
}

std::size_t ElementWidth(const Text& text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (at + 1 == text.size()) {
        return 1;
    }
    if (byte >= 0x81 || (byte == '\r' && text[at + 1] == '\n')) {
        return 2;
    }
    return 1;
}

} // namespace

TextArray SplitFilterText(const Text& text) {
    TextArray elements;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t width = ElementWidth(text, at);
        elements.push_back(text.substr(at, width));
        at += width;
    }
    return elements;
}

int CaretElementCount(const SharedState& state) {
    int count = 0;
    int positions = 0;
    for (const Text& element : state.FilterChars) {
        positions += IsLineBreak(element) ? 2 : 1;
        if (positions > state.FilterCaret) {
            break;
        }
        ++count;
    }
    return count;
}

Text InsertFilterPattern(const SharedState& state, const Text& caption) {
    const TextArray& chars = state.FilterChars;
    const auto split = chars.begin() + CaretElementCount(state);
    return JoinTexts(TextArray(chars.begin(), split)) + caption +
           JoinTexts(TextArray(split, chars.end()));
}

int FilterCaretFromQt(const QString& plainText, int selectionStart) {
    const int end = std::clamp(selectionStart, 0, static_cast<int>(plainText.size()));
    int caret = 0;
    for (int at = 0; at < end; ++at) {
        const QChar unit = plainText.at(at);
        if (unit == QLatin1Char('\n')) {
            caret += 2;
        } else if (!unit.isLowSurrogate()) {
            ++caret;
        }
    }
    return caret;
}

void TakeFilterSnapshot(SharedState& state, const QString& plainText, int selectionStart) {
    state.FilterCaret = FilterCaretFromQt(plainText, selectionStart);
    state.FilterChars = SplitFilterText(ToTextLines(plainText));
}

} // namespace quill

#include "replacement.h"

#include <vector>

namespace quill::regex_detail {
namespace {

// One piece of a parsed replacement: literal text, or a group reference when `group` > 0.
struct Piece {
    std::string literal;
    int group = 0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length (1 or 2) of the group reference after the "$" at `dollar`, 0 when there is none.
int GroupReferenceLength(const std::string& text, std::size_t dollar, int groupCount, int& group) {
    const std::size_t at = dollar + 1;
    if (at >= text.size() || !IsDigit(text[at])) {
        return 0;
    }
    const int first = text[at] - '0';
    if (at + 1 < text.size() && IsDigit(text[at + 1])) {
        const int both = first * 10 + (text[at + 1] - '0');
        if (both >= 1 && both <= groupCount) {
            group = both;
            return 2;
        }
    }
    if (first >= 1 && first <= groupCount) {
        group = first;
        return 1;
    }
    return 0;
}

std::vector<Piece> ParseReplacement(const std::string& replacement, int groupCount) {
    std::vector<Piece> pieces(1);
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        int group = 0;
        if (replacement[i] != '$') {
            pieces.back().literal += replacement[i];
        } else if (i + 1 < replacement.size() && replacement[i + 1] == '$') {
            pieces.back().literal += '$';
            ++i;
        } else if (const int length = GroupReferenceLength(replacement, i, groupCount, group)) {
            pieces.push_back({{}, group});
            pieces.push_back({});
            i += length;
        } else {
            pieces.back().literal += '$';
        }
    }
    return pieces;
}

void AppendSpan(std::string& out, const std::string& subject, const Span& span) {
    if (span.present) {
        out.append(subject, span.begin, span.end - span.begin);
    }
}

void AppendExpansion(std::string& out, const std::vector<Piece>& pieces, const std::string& subject,
                     const MatchList& matches, int match) {
    for (const Piece& piece : pieces) {
        if (piece.group > 0) {
            AppendSpan(out, subject, matches.At(match, piece.group));
        } else {
            out += piece.literal;
        }
    }
}

} // namespace

std::string ReplaceAll(const std::string& subject, const MatchList& matches,
                       const std::string& replacement) {
    const std::vector<Piece> pieces = ParseReplacement(replacement, matches.GroupCount());
    std::string out;
    out.reserve(subject.size());
    std::size_t done = 0;
    for (int match = 0; match < matches.Count(); ++match) {
        const Span whole = matches.At(match, 0);
        if (!whole.present || whole.begin < done) {
            continue;
        }
        out.append(subject, done, whole.begin - done);
        AppendExpansion(out, pieces, subject, matches, match);
        done = whole.end;
    }
    out.append(subject, done, std::string::npos);
    return out;
}

} // namespace quill::regex_detail

#include "content/main_block.h"

#include <utility>

#include "content/text_cleanup.h"
#include "regex/regex_object.h"

namespace quill {
namespace {

const char* const kBlockPattern = R"(<div.*?>([\s\S]*?)</div>|<span.*?>([\s\S]*?)</span>)";

Text BlockContent(const RegexObject& blocks, int match) {
    const Text div = blocks.SubMatchText(match, 1);
    return div.empty() ? blocks.SubMatchText(match, 2) : div;
}

} // namespace

Text ChooseMainBlock(const Text& page) {
    const int total = CountHanChars(page);
    RegexObject blocks;
    blocks.Create(kBlockPattern, page);
    int bestCount = 0;
    Text bestBlock;
    for (int match = 1; match <= blocks.MatchCount(); ++match) {
        Text block = BlockContent(blocks, match);
        const int count = CountHanChars(block);
        // A block with more than half of the page's Han characters cannot be beaten.
        if (2 * count > total) {
            return block;
        }
        if (count > bestCount) {
            bestCount = count;
            bestBlock = std::move(block);
        }
    }
    return bestBlock;
}

} // namespace quill

#include "content/chapter_text.h"

#include <cstddef>
#include <set>

#include "content/continuation_link.h"
#include "content/main_block.h"
#include "content/text_cleanup.h"
#include "core/codepage.h"
#include "core/text_rules.h"
#include "web/charset.h"
#include "web/fetch_page.h"
#include "web/links.h"

namespace quill {
namespace {

// Far beyond any real chapter; only a runaway chain of distinct addresses gets here.
constexpr std::size_t kMaxPagesPerChapter = 200;

Text FetchText(const Text& address) {
    return TextFromBytes(FetchPage(address));
}

// Page layouts whose div close tags would cut the text block short.
Text Preprocess(Text page) {
    page = ReplaceText(page, "</script></div></div>", " ");
    page = ReplaceText(page, "></div>", " ");
    page = ReplaceText(page, "</div>\r\n<table", "");
    return ReplaceText(page, "</table>\r\n</div>", "");
}

// Turns a continue-reading button into a link the next-page pattern recognises.
Text RewriteContinueButton(const Text& page) {
    return ReplaceText(page, Gbk(" class=\"ldgbtn\">本章未完点击此处继续阅读"), Gbk(">下一页"));
}

bool IsLastRow(const SharedState& state, int row) {
    return static_cast<std::size_t>(row) + 1 == state.ChapterUrls.size();
}

bool LeadsIntoNextRow(const SharedState& state, int row, const Text& link) {
    return !IsLastRow(state, row) && FindText(state.ChapterUrls[row + 1], link) != -1;
}

// The charset decision of a chapter's first page holds for all of its pages; 转码 is read
// anew for each page.
struct PageDecoder {
    const Controls& controls;
    bool utfPage;

    Text operator()(const Text& page) const {
        return DecodePage(page, utfPage, controls.transcodeTicked());
    }
};

// Addresses read by one call: a chain that leads back to one of them, or runs on past any real
// chapter, must still end.
class PageChain final {
  public:
    bool admit(const Text& address) {
        return m_addresses.size() < kMaxPagesPerChapter && m_addresses.insert(address).second;
    }

  private:
    std::set<Text> m_addresses;
};

Text FirstPageMarkup(const Text& page, const Controls& controls, bool rewriteContinueButton) {
    const Text prepared = controls.preprocessTicked() ? Preprocess(page) : page;
    return rewriteContinueButton ? RewriteContinueButton(prepared) : prepared;
}

Text CollectBlocks(const SharedState& state, const Controls& controls, int row,
                   bool rewriteContinueButton) {
    PageChain chain;
    chain.admit(state.ChapterUrls[row]);
    const Text firstPage = FetchText(state.ChapterUrls[row]);
    const PageDecoder decode{controls, HasUtfCharset(firstPage)};
    Text page = FirstPageMarkup(decode(firstPage), controls, rewriteContinueButton);
    Text collected;
    for (;;) {
        collected += ChooseMainBlock(page) + "\r\n";
        Text link = FindContinuationLink(page);
        if (link.empty() || LeadsIntoNextRow(state, row, link)) {
            return collected;
        }
        const Text address = ResolveLink(link, state.SiteRoot, controls);
        if (!chain.admit(address)) {
            return collected;
        }
        page = decode(FetchText(address));
    }
}

} // namespace

Text ExtractChapterText(const SharedState& state, const Controls& controls, int row,
                        bool rewriteContinueButton) {
    if (row < 0 || static_cast<std::size_t>(row) >= state.ChapterUrls.size()) {
        return {};
    }
    Text text = HtmlToText(CollectBlocks(state, controls, row, rewriteContinueButton));
    if (controls.filterEnabled()) {
        text = ApplyFilterRules(text, controls);
    }
    return text;
}

} // namespace quill

#include "table_of_contents.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "core/codepage.h"
#include "core/text_rules.h"
#include "regex/regex_object.h"
#include "web/charset.h"
#include "web/fetch_page.h"
#include "web/links.h"

namespace quill {
namespace {

// A "下一页" chain that leads back to a page already read ends there; one that never repeats
// an address ends here.
constexpr int kMaxTocPages = 1000;

// While the length test holds, a chapter address differs at most this much from the middle one.
constexpr long kChapterLengthSpread = 3;

const char kSiteRootPattern[] = "(https*://.*?)/";
const char kTitlePattern[] = R"(<title>([\u4e00-\u9fa5-a-z-A-Z\d]+).*?</title>)";
const char kLinkPattern[] = R"(href\s*=["']*([\w/:\-\.\?&=]+)["'\s]*.*?>(.*?)<)";
const char kNextPagePattern[] =
    R"(href=["']*([\w/:\-\.]+)["']*["'\w\s=]*>下一页[:\u4e00-\u9fa5\s\(\)\w]*</a>)";

// "免费在线阅读" must go before "在线阅读", or "免费" would stay behind.
const char* const kTitleWords[] = {"章节列表", "最新章节", "章节目录", "免费在线阅读",
                                   "在线阅读", "手机阅读", "无弹窗"};

long Length(const Text& text) {
    return static_cast<long>(text.size());
}

// The test holds when the addresses at 1-based m - 1, m and m + 1 grow by at most one byte
// each. With m = 1 there is no address before the middle one and the test fails.
bool MiddleLengthsSteady(const TextArray& urls, std::size_t m) {
    if (m < 2 || m >= urls.size()) {
        return false;
    }
    const long before = Length(urls[m - 2]);
    const long middle = Length(urls[m - 1]);
    const long after = Length(urls[m]);
    return middle - before <= 1 && after - middle <= 1;
}

// 0-based indexes of the links that survive, in page order: walking from the end, the last of
// several links with one address or one title is the one kept.
std::vector<std::size_t> ChosenLinks(const TextArray& titles, const TextArray& urls) {
    const std::size_t n = std::min(titles.size(), urls.size());
    std::vector<std::size_t> chosen;
    if (n < 3) {
        return chosen;
    }
    const std::size_t m = n / 2;
    const bool lengthTest = MiddleLengthsSteady(urls, m);
    const long middle = Length(urls[m - 1]);
    std::unordered_set<std::string_view> keptUrls;
    std::unordered_set<std::string_view> keptTitles;
    keptUrls.reserve(n);
    keptTitles.reserve(n);
    for (std::size_t k = n; k-- > 0;) {
        if (lengthTest && std::labs(Length(urls[k]) - middle) > kChapterLengthSpread) {
            continue;
        }
        if (keptUrls.contains(urls[k]) || keptTitles.contains(titles[k])) {
            continue;
        }
        keptUrls.insert(urls[k]);
        keptTitles.insert(titles[k]);
        chosen.push_back(k);
    }
    std::reverse(chosen.begin(), chosen.end());
    return chosen;
}

TextArray Pick(TextArray& from, const std::vector<std::size_t>& indexes) {
    TextArray picked;
    picked.reserve(indexes.size());
    for (const std::size_t index : indexes) {
        picked.push_back(std::move(from[index]));
    }
    return picked;
}

Text FetchText(const Text& address) {
    return TextFromBytes(FetchPage(address));
}

Text FirstGroup(RegexObject& regex, const Text& pattern, const Text& subject) {
    regex.Create(pattern, subject);
    return regex.SubMatchText(1, 1);
}

Text WithoutTitleWords(Text title) {
    for (const char* word : kTitleWords) {
        title = ReplaceText(title, Gbk(word), {});
    }
    return title;
}

// With the opening tags gone, an anchor around a span yields the span's text as its caption.
Text WithoutSpanMarkers(const Text& page) {
    return ReplaceText(ReplaceText(page, "<span class=\"title\">", {}), "<span>", {});
}

// One parse: the four patterns live as long as the run.
class TocCollector final {
  public:
    TocCollector(const Text& address, const Controls& controls)
        : m_address(address), m_controls(controls) {}

    TableOfContents run();

  private:
    void appendLinks(const Text& page);
    // The absolute address of the page's "下一页" link; empty when the chain ends here.
    Text nextAddress(const Text& page, int pagesRead);

    const Text& m_address;
    const Controls& m_controls;
    RegexObject m_siteRootRegex;
    RegexObject m_titleRegex;
    RegexObject m_linkRegex;
    RegexObject m_nextPageRegex;
    std::unordered_set<Text> m_fetched;
    TableOfContents m_toc;
};

TableOfContents TocCollector::run() {
    // Only the first page's charset counts; later pages are read the same way.
    Text page = FetchText(m_address);
    const bool utfPage = HasUtfCharset(page);
    page = DecodePage(page, utfPage, false);
    m_fetched.insert(m_address);
    m_toc.siteRoot = FirstGroup(m_siteRootRegex, kSiteRootPattern, m_address);
    m_toc.bookTitle = WithoutTitleWords(FirstGroup(m_titleRegex, kTitlePattern, page));
    for (int pagesRead = 1;; ++pagesRead) {
        page = WithoutSpanMarkers(page);
        appendLinks(page);
        SelectChapterLinks(m_toc.titles, m_toc.urls);
        const Text next = nextAddress(page, pagesRead);
        if (next.empty()) {
            break;
        }
        page = DecodePage(FetchText(next), utfPage, false);
    }
    return std::move(m_toc);
}

void TocCollector::appendLinks(const Text& page) {
    m_linkRegex.Create(kLinkPattern, page);
    const int count = m_linkRegex.MatchCount();
    for (int i = 1; i <= count; ++i) {
        Text link = m_linkRegex.SubMatchText(i, 1);
        m_toc.urls.push_back(ResolveLink(link, m_toc.siteRoot, m_controls));
        m_toc.titles.push_back(m_linkRegex.SubMatchText(i, 2));
    }
}

Text TocCollector::nextAddress(const Text& page, int pagesRead) {
    static const Text pattern = Gbk(kNextPagePattern);
    Text link = FirstGroup(m_nextPageRegex, pattern, page);
    if (link.empty() || pagesRead >= kMaxTocPages) {
        return {};
    }
    Text address = ResolveLink(link, m_toc.siteRoot, m_controls);
    return m_fetched.insert(address).second ? address : Text();
}

} // namespace

TableOfContents CollectTableOfContents(const Text& address, const Controls& controls) {
    return TocCollector(address, controls).run();
}

void SelectChapterLinks(TextArray& titles, TextArray& urls) {
    const std::vector<std::size_t> chosen = ChosenLinks(titles, urls);
    TextArray keptTitles = Pick(titles, chosen);
    TextArray keptUrls = Pick(urls, chosen);
    titles = std::move(keptTitles);
    urls = std::move(keptUrls);
}

} // namespace quill

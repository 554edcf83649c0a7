// Chapter extraction over a warm local demo site. Each chapter is three pages (two of them
// continuation pages) of about 30 KB of GBK markup: the demo site's page with a longer text
// block and the side panels of link lists and scripts that real sites carry. Reported: chapters
// per second on one thread and on six, and the parts of one call measured on their own.

#include <benchmark/benchmark.h>

#include "content/chapter_text.h"
#include "content/continuation_link.h"
#include "content/main_block.h"
#include "content/text_cleanup.h"
#include "core/codepage.h"
#include "core/shared_state.h"
#include "core/text_rules.h"
#include "tests/support/memory_controls.h"
#include "tools/demo_site/demo_pages.h"
#include "tools/demo_site/demo_site.h"
#include "tools/demo_site/prose.h"
#include "web/charset.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

constexpr int kChapters = 60;
constexpr std::size_t kPageBytes = 30 * 1024;
constexpr int kTextParagraphs = 24;
constexpr int kThreadsAtOnce = 6;

// About 2,500 Han characters of prose per page, as the text of a real chapter page holds.
Text LongerText(int chapter, int part) {
    demo::Prose prose(static_cast<std::uint64_t>(chapter) * 16 + static_cast<std::uint64_t>(part));
    TextArray paragraphs;
    for (int i = 0; i < kTextParagraphs; ++i) {
        paragraphs.push_back(prose.Paragraph());
    }
    return JoinTexts(paragraphs, "<br><br>") + "<br><br>";
}

Text ScriptBlock(int index) {
    return "<script type=\"text/javascript\">(window.slots=window.slots||[]).push({id:'u" +
           DecimalText(index) + "',container:'ad_" + DecimalText(index) +
           "',size:'20,5',display:'inlay-fix'});</script>\r\n";
}

Text BookItem(demo::Prose& prose, int index) {
    return "<li><span class=\"s1\">[" + prose.Words(2, 2) +
           "]</span><span class=\"s2\"><a href=\"/book/" + DecimalText(index) + "/\">" +
           prose.Words(2, 6) + "</a></span><span class=\"s4\">" + prose.Words(2, 3) +
           "</span></li>\r\n";
}

// Link lists and script slots until the page reaches its size.
Text SidePanels(int chapter, std::size_t pageBytes) {
    demo::Prose prose(static_cast<std::uint64_t>(chapter) + 7919);
    Text panels = "<div class=\"side\"><h3>" + Gbk("热门推荐") + "</h3><ul>\r\n";
    for (int index = 1; pageBytes + panels.size() < kPageBytes; ++index) {
        panels += index % 12 == 0
                      ? "</ul></div>\r\n" + ScriptBlock(index) + "<div class=\"side\"><ul>\r\n"
                      : BookItem(prose, index);
    }
    return panels + "</ul></div>\r\n";
}

Text RealisticPage(const demo::DemoBook& book, int chapter, int part) {
    Text page = RenderChapterPage(book, chapter, part, "gbk");
    page = ReplaceText(page, "<div id=\"content\">",
                       "<div id=\"content\">" + LongerText(chapter, part));
    const std::size_t body = page.rfind("</body>");
    return page.insert(body, SidePanels(chapter, page.size()));
}

// The demo site with every three-page chapter made realistic, and the list over it.
class BenchSite final {
  public:
    BenchSite() : m_site({{kChapters, 50}, demo::Encoding::Gbk, 0}) {
        InitWeb();
        m_started = m_site.start();
        const demo::DemoBook& book = m_site.book();
        for (int chapter = 0; chapter < book.chapterCount(); ++chapter) {
            if (book.partCount(chapter) == 3) {
                addChapter(book, chapter);
            }
        }
        m_state.ChapterUrls = m_site.chapterAddresses();
        m_state.ChapterTitles = book.chapterTitles();
        m_state.SiteRoot = m_site.url("");
        m_controls.setFilter(true, Gbk("过滤规则1\r\n过滤规则2\r\n过滤规则3"));
        warmUp();
    }

    bool started() const { return m_started; }
    const SharedState& state() const { return m_state; }
    const Controls& controls() const { return m_controls; }
    const std::vector<int>& rows() const { return m_rows; }
    const std::vector<std::string>& addresses() const { return m_addresses; }
    const TextArray& pages() const { return m_pages; }

  private:
    void addChapter(const demo::DemoBook& book, int chapter) {
        m_rows.push_back(chapter);
        for (int part = 0; part < 3; ++part) {
            const std::string path = demo::ChapterPath(chapter, part);
            m_pages.push_back(RealisticPage(book, chapter, part));
            m_site.addPage(path, m_pages.back());
            m_addresses.push_back(m_site.url(path));
        }
    }

    // Every page fetched once, so the connections are open and nothing is built while timed.
    void warmUp() {
        for (const std::string& address : m_addresses) {
            FetchPage(address);
        }
    }

    demo::DemoSite m_site;
    bool m_started = false;
    SharedState m_state;
    testing::MemoryControls m_controls;
    std::vector<int> m_rows;
    std::vector<std::string> m_addresses;
    TextArray m_pages;
};

BenchSite& Site() {
    static BenchSite site;
    return site;
}

bool Ready(benchmark::State& bench) {
    if (!Site().started()) {
        bench.SkipWithError("the demo site cannot bind a port");
        return false;
    }
    return true;
}

std::size_t TotalBytes(const TextArray& pages) {
    std::size_t bytes = 0;
    for (const Text& page : pages) {
        bytes += page.size();
    }
    return bytes;
}

void BM_ExtractChapterText(benchmark::State& bench) {
    if (!Ready(bench)) {
        return;
    }
    const std::vector<int>& rows = Site().rows();
    std::size_t next = static_cast<std::size_t>(bench.thread_index());
    std::size_t chars = 0;
    for (auto _ : bench) {
        const Text text =
            ExtractChapterText(Site().state(), Site().controls(), rows[next % rows.size()], false);
        chars += text.size();
        next += static_cast<std::size_t>(bench.threads());
    }
    benchmark::DoNotOptimize(chars);
    bench.SetItemsProcessed(bench.iterations());
    bench.SetLabel("chapters");
}
BENCHMARK(BM_ExtractChapterText)
    ->Threads(1)
    ->Threads(kThreadsAtOnce)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// The parts of one chapter: three fetches, three page decodings, three block choices, three
// link searches, one HtmlToText. Each over the same three pages.

void BM_FetchThreePages(benchmark::State& bench) {
    if (!Ready(bench)) {
        return;
    }
    const std::vector<std::string>& addresses = Site().addresses();
    std::size_t next = 0;
    for (auto _ : bench) {
        for (int part = 0; part < 3; ++part) {
            benchmark::DoNotOptimize(FetchPage(addresses[next++ % addresses.size()]));
        }
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_FetchThreePages)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Runs `part` over the three pages of a chapter, chapter after chapter.
template <typename Part> void OverThreePages(benchmark::State& bench, Part part) {
    const TextArray& pages = Site().pages();
    std::size_t next = 0;
    for (auto _ : bench) {
        for (int page = 0; page < 3; ++page) {
            benchmark::DoNotOptimize(part(pages[next++ % pages.size()]));
        }
    }
    bench.SetItemsProcessed(bench.iterations());
    bench.SetBytesProcessed(
        static_cast<std::int64_t>(bench.iterations() * 3 * TotalBytes(pages) / pages.size()));
}

void BM_CharsetAndDecode(benchmark::State& bench) {
    OverThreePages(bench,
                   [](const Text& page) { return DecodePage(page, HasUtfCharset(page), false); });
}
BENCHMARK(BM_CharsetAndDecode)->Unit(benchmark::kMicrosecond);

void BM_ChooseMainBlock(benchmark::State& bench) {
    OverThreePages(bench, [](const Text& page) { return ChooseMainBlock(page); });
}
BENCHMARK(BM_ChooseMainBlock)->Unit(benchmark::kMicrosecond);

void BM_FindContinuationLink(benchmark::State& bench) {
    OverThreePages(bench, [](const Text& page) { return FindContinuationLink(page); });
}
BENCHMARK(BM_FindContinuationLink)->Unit(benchmark::kMicrosecond);

void BM_CountHanCharsOfPage(benchmark::State& bench) {
    OverThreePages(bench, [](const Text& page) { return CountHanChars(page); });
}
BENCHMARK(BM_CountHanCharsOfPage)->Unit(benchmark::kMicrosecond);

void BM_HtmlToTextOfChapter(benchmark::State& bench) {
    const TextArray& pages = Site().pages();
    TextArray chapters;
    for (std::size_t first = 0; first + 2 < pages.size(); first += 3) {
        chapters.push_back(ChooseMainBlock(pages[first]) + "\r\n" +
                           ChooseMainBlock(pages[first + 1]) + "\r\n" +
                           ChooseMainBlock(pages[first + 2]) + "\r\n");
    }
    std::size_t next = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(HtmlToText(chapters[next++ % chapters.size()]));
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_HtmlToTextOfChapter)->Unit(benchmark::kMicrosecond);

void BM_PlaceholderFilters(benchmark::State& bench) {
    const Text text = HtmlToText(ChooseMainBlock(Site().pages().front()));
    for (auto _ : bench) {
        benchmark::DoNotOptimize(ApplyFilterRules(text, Site().controls()));
    }
}
BENCHMARK(BM_PlaceholderFilters)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quill

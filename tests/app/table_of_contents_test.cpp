#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

#include "app/table_of_contents.h"
#include "core/codepage.h"
#include "tests/support/local_server.h"
#include "tests/support/memory_controls.h"
#include "tools/demo_site/demo_site.h"

namespace quill {
namespace {

using demo::DemoSite;
using demo::Encoding;
using demo::SiteOptions;

// Parses `address` with the address box holding it, as the window does.
TableOfContents Collect(const Text& address) {
    testing::MemoryControls controls;
    controls.setAddress(address);
    return CollectTableOfContents(address, controls);
}

Text Page(const Text& title, const Text& body) {
    return "<html><head><meta charset=\"gbk\"><title>" + title + "</title></head><body>" + body +
           "</body></html>";
}

Text Anchor(const std::string& path, const char* caption) {
    return "<a href=\"" + path + "\">" + Gbk(caption) + "</a>\r\n";
}

// Three chapter links under `prefix`, numbered from `first`, of one length.
Text ChapterAnchors(const std::string& prefix, int first) {
    Text anchors;
    for (int number = first; number < first + 3; ++number) {
        anchors += "<a href=\"" + prefix + std::to_string(100000 + number) + ".html\">" +
                   Gbk("第") + std::to_string(number) + Gbk("章") + "</a>\r\n";
    }
    return anchors;
}

// One site for the fixture pages; each test adds pages under paths of its own.
class TableOfContentsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_site = std::make_unique<DemoSite>(SiteOptions{});
        ASSERT_TRUE(s_site->start());
    }
    static void TearDownTestSuite() { s_site.reset(); }

    static std::string url(const std::string& path) { return s_site->url(path); }
    static void addPage(const std::string& path, const Text& body) { s_site->addPage(path, body); }

    static std::unique_ptr<DemoSite> s_site;
};
std::unique_ptr<DemoSite> TableOfContentsTest::s_site;

struct TitleCase {
    const char* name;
    const char* title; // the title element's content, UTF-8
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const TitleCase& title) {
    return out << title.name;
}

class BookTitleTest : public TableOfContentsTest,
                      public ::testing::WithParamInterface<TitleCase> {};

TEST_P(BookTitleTest, takesTheLeadingRunWithoutTitleWords) {
    const std::string path = std::string("/title/") + GetParam().name + "/";
    addPage(path, Page(Gbk(GetParam().title), ChapterAnchors("/t/", 1)));
    EXPECT_EQ(ConvertGbkToUtf8(Collect(url(path)).bookTitle), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, BookTitleTest,
    ::testing::Values(TitleCase{"RunStopsAtUnderscore", "天下最新章节_天下无弹窗", "天下"},
                      TitleCase{"LongerWordFirst", "某书免费在线阅读", "某书"},
                      TitleCase{"EveryWordEverywhere", "书章节目录书手机阅读章节列表", "书书"},
                      TitleCase{"LettersDigitsHyphens", "Ab-12书名 第一卷", "Ab-12书名"},
                      TitleCase{"LeadingSpace", " 某书最新章节", ""},
                      TitleCase{"LeadingBracket", "【某书】", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TableOfContentsTest, titleOverTwoLines_isEmpty) {
    addPage("/title/two-lines/", Page(Gbk("某书\r\n最新章节"), ChapterAnchors("/t/", 1)));
    EXPECT_EQ(Collect(url("/title/two-lines/")).bookTitle, "");
}

struct SiteRootCase {
    const char* name;
    std::string scheme;
    std::string path; // what follows host and port
    bool rooted;      // whether a site root exists
};

std::ostream& operator<<(std::ostream& out, const SiteRootCase& root) {
    return out << root.name;
}

class SiteRootTest : public TableOfContentsTest,
                     public ::testing::WithParamInterface<SiteRootCase> {};

TEST_P(SiteRootTest, isSchemeAndHostUpToTheFirstSlash) {
    const std::string host = "127.0.0.1:" + std::to_string(s_site->port());
    const std::string address = GetParam().scheme + "://" + host + GetParam().path;
    const std::string expected = GetParam().rooted ? GetParam().scheme + "://" + host : "";
    EXPECT_EQ(Collect(address).siteRoot, expected);
}

// The https address reaches a plain HTTP server: the page is empty, the site root is not.
INSTANTIATE_TEST_SUITE_P(Roots, SiteRootTest,
                         ::testing::Values(SiteRootCase{"Directory", "http", "/book/1/", true},
                                           SiteRootCase{"FileName", "http", "/book/1/index.html",
                                                        true},
                                           SiteRootCase{"HostOnly", "http", "", false},
                                           SiteRootCase{"Https", "https", "/book/1/", true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct BookCase {
    const char* name;
    int chapters;
    int tocPageSize;
    Encoding encoding;
};

std::ostream& operator<<(std::ostream& out, const BookCase& book) {
    return out << book.name;
}

class DemoBookTest : public ::testing::TestWithParam<BookCase> {};

// Every page's chapters in page order, without navigation links, the latest-chapters block or
// page links, and titles in code page 936 whatever the site's encoding.
TEST_P(DemoBookTest, listsEveryChapterInOrder) {
    SiteOptions options;
    options.book = {GetParam().chapters, GetParam().tocPageSize};
    options.encoding = GetParam().encoding;
    DemoSite site(options);
    ASSERT_TRUE(site.start());
    const TableOfContents toc = Collect(site.tocAddress());
    EXPECT_EQ(toc.bookTitle, site.book().title());
    EXPECT_EQ(toc.siteRoot, site.url(""));
    EXPECT_EQ(toc.titles, site.book().chapterTitles());
    const std::vector<std::string> addresses = site.chapterAddresses();
    EXPECT_EQ(toc.urls, TextArray(addresses.begin(), addresses.end()));
}

INSTANTIATE_TEST_SUITE_P(Books, DemoBookTest,
                         ::testing::Values(BookCase{"ThreePages", 30, 10, Encoding::Gbk},
                                           BookCase{"LatestOnLaterPages", 25, 10, Encoding::Gbk},
                                           BookCase{"OnePage", 7, 50, Encoding::Gbk},
                                           BookCase{"Utf8ThreePages", 30, 10, Encoding::Utf8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TableOfContentsTest, nextPageCycle_endsAfterEachPageOnce) {
    addPage("/cycle/1/",
            Page(Gbk("环书"), ChapterAnchors("/cycle/c/", 1) + Anchor("/cycle/2/", "下一页")));
    addPage("/cycle/2/",
            Page(Gbk("环书"), ChapterAnchors("/cycle/c/", 4) + Anchor("/cycle/1/", "下一页")));
    const TableOfContents toc = Collect(url("/cycle/1/"));
    EXPECT_EQ(toc.urls.size(), 6u);
    EXPECT_EQ(toc.urls.back(), url("/cycle/c/100006.html"));
}

TEST_F(TableOfContentsTest, lastPageLinkingToItself_ends) {
    addPage("/self/",
            Page(Gbk("自书"), ChapterAnchors("/self/c/", 1) + Anchor("/self/", "下一页")));
    EXPECT_EQ(Collect(url("/self/")).urls.size(), 3u);
}

// A chain of ever new pages stops at the page limit.
TEST_F(TableOfContentsTest, endlessChainOfNewPages_stopsAtThePageLimit) {
    constexpr int kPages = 1005;
    for (int page = 1; page <= kPages; ++page) {
        const std::string next = "/endless/" + std::to_string(page + 1) + "/";
        addPage(
            "/endless/" + std::to_string(page) + "/",
            Page(Gbk("长书"), ChapterAnchors("/endless/c/", page * 3) + Anchor(next, "下一页")));
    }
    EXPECT_EQ(Collect(url("/endless/1/")).urls.size(), 3000u);
}

TEST(CollectTableOfContents, unreachableAddress_givesNoChapters) {
    testing::LocalServer closed;
    closed.start();
    const std::string address = closed.url("/book/1/");
    closed.stop();
    const TableOfContents toc = Collect(address);
    EXPECT_EQ(toc.bookTitle, "");
    EXPECT_TRUE(toc.titles.empty());
    EXPECT_TRUE(toc.urls.empty());
    EXPECT_EQ(toc.siteRoot, closed.url(""));
}

} // namespace
} // namespace quill

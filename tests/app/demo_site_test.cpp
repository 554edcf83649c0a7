#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "app/table_of_contents.h"
#include "content/chapter_text.h"
#include "core/codepage.h"
#include "core/shared_state.h"
#include "tests/support/memory_controls.h"
#include "tools/demo_site/demo_site.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

using demo::DemoSite;
using demo::Encoding;
using demo::SiteOptions;

struct EncodingCase {
    const char* name;
    Encoding encoding;
};

std::ostream& operator<<(std::ostream& out, const EncodingCase& encoding) {
    return out << encoding.name;
}

class DemoSiteTest : public ::testing::TestWithParam<EncodingCase> {};

// The text the generator promises is the text the system extracts, continuation pages
// included, with the chapter list the system parses; the last chapter has no "下一章".
TEST_P(DemoSiteTest, extractedChapters_equalTheGeneratedText) {
    SiteOptions options;
    options.book = {12, 5};
    options.encoding = GetParam().encoding;
    DemoSite site(options);
    ASSERT_TRUE(site.start());
    testing::MemoryControls controls;
    controls.setAddress(site.tocAddress());
    const TableOfContents toc = CollectTableOfContents(site.tocAddress(), controls);
    SharedState state;
    state.ChapterUrls = toc.urls;
    state.ChapterTitles = toc.titles;
    state.SiteRoot = toc.siteRoot;
    ASSERT_EQ(static_cast<int>(toc.urls.size()), site.book().chapterCount());
    for (int row = 0; row < site.book().chapterCount(); ++row) {
        EXPECT_EQ(ConvertGbkToUtf8(ExtractChapterText(state, controls, row, false)),
                  ConvertGbkToUtf8(site.book().chapterText(row)))
            << "chapter " << row + 1 << " of " << site.book().partCount(row) << " parts";
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, DemoSiteTest,
                         ::testing::Values(EncodingCase{"Gbk", Encoding::Gbk},
                                           EncodingCase{"Utf8", Encoding::Utf8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DemoSite, fixturePage_isServedByteForByte) {
    DemoSite site(SiteOptions{});
    ASSERT_TRUE(site.start());
    const std::string body = "\xB0\xA1<b>x</b>\r\n";
    site.addPage("/fixture/", body);
    EXPECT_EQ(TextFromBytes(FetchPage(site.url("/fixture/"))), body);
}

TEST(DemoSite, continuationAddress_occursInNoChapterAddress) {
    DemoSite site(SiteOptions{});
    const std::string continuation = demo::ChapterPath(0, 1);
    for (const std::string& address : site.chapterAddresses()) {
        EXPECT_EQ(address.find(continuation), std::string::npos) << address;
    }
}

} // namespace
} // namespace quill

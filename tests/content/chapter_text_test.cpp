#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "content/chapter_text.h"
#include "core/codepage.h"
#include "core/shared_state.h"
#include "core/text_rules.h"
#include "tests/support/local_server.h"
#include "tests/support/memory_controls.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

class WebEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override { InitWeb(); }
};

const auto* const kWebEnvironment = ::testing::AddGlobalTestEnvironment(new WebEnvironment);

// A page whose head declares `charset`, around `body`, both written as UTF-8 here.
std::string PageMarkup(const std::string& body, const std::string& charset = "gbk") {
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset +
           "\"></head><body>\r\n" + body + "\r\n</body></html>";
}

Text GbkPage(const std::string& body) {
    return Gbk(PageMarkup(body).c_str());
}

std::string Block(const std::string& text) {
    return "<div id=\"content\">" + text + "</div>";
}

std::string NextPage(const std::string& path) {
    return "<a href=\"" + path + "\">下一页</a>";
}

std::string NextChapter(const std::string& path) {
    return "<a href=\"" + path + "\">下一章</a>";
}

std::string ContinueButton(const std::string& path) {
    return "<a href=\"" + path + "\" class=\"ldgbtn\">本章未完点击此处继续阅读</a>";
}

std::string PercentEncoded(const std::string& bytes) {
    std::string encoded;
    for (unsigned char byte : bytes) {
        char escape[4];
        std::snprintf(escape, sizeof escape, "%%%02X", byte);
        encoded += escape;
    }
    return encoded;
}

// A small site of fixture pages on the loopback server, with the list and the window's
// settings the extraction reads.
class ChapterTextTest : public ::testing::Test {
  protected:
    ChapterTextTest() {
        m_server.server().Get(".*",
                              [this](const httplib::Request& request, httplib::Response& response) {
                                  answer(request.path, response);
                              });
        m_server.start();
        m_state.SiteRoot = m_server.url("");
    }

    // Serves `body` at `path`; `beforeAnswer` runs on the server's thread just before.
    void serve(const std::string& path, const Text& body, std::function<void()> beforeAnswer = {}) {
        std::lock_guard lock(m_mutex);
        m_pages[path] = {body, std::move(beforeAnswer)};
    }

    void listRows(const std::vector<std::string>& paths) {
        m_state.ChapterUrls.clear();
        for (const std::string& path : paths) {
            m_state.ChapterUrls.push_back(m_server.url(path));
        }
        m_state.ChapterTitles.resize(paths.size());
    }

    int requests(const std::string& path) {
        std::lock_guard lock(m_mutex);
        return m_requests[path];
    }

    Text extract(int row, bool rewriteContinueButton = false) {
        return ExtractChapterText(m_state, m_controls, row, rewriteContinueButton);
    }

    testing::MemoryControls m_controls;
    SharedState m_state;

  private:
    struct Page {
        Text body;
        std::function<void()> beforeAnswer;
    };

    void answer(const std::string& path, httplib::Response& response) {
        Page page;
        {
            std::lock_guard lock(m_mutex);
            ++m_requests[path];
            const auto found = m_pages.find(path);
            if (found == m_pages.end()) {
                response.status = 404;
                return;
            }
            page = found->second;
        }
        if (page.beforeAnswer) {
            page.beforeAnswer();
        }
        response.set_content(page.body, "text/html");
    }

    std::mutex m_mutex;
    std::map<std::string, Page> m_pages;
    std::map<std::string, int> m_requests;
    // Last, so that it stops before the pages it serves go away.
    quill::testing::LocalServer m_server;
};

TEST_F(ChapterTextTest, joinsMainBlocksOfEveryPageByLines) {
    serve("/c/1.html", GbkPage("<div class=\"nav\">目录</div>" + Block("甲甲<br><br>乙乙") +
                               NextPage("/c/1_2.html")));
    serve("/c/1_2.html", GbkPage(Block("<p>丙</p>")));
    listRows({"/c/1.html"});
    // The closing paragraph mark of the last page leaves its line break.
    EXPECT_EQ(extract(0), Gbk("甲甲\r\n乙乙\r\n丙\r\n"));
}

TEST_F(ChapterTextTest, equalCountsKeepEarlierBlock) {
    serve("/c/1.html", GbkPage("<span>甲乙</span><div>丙丁</div>"));
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(0), Gbk("甲乙"));
}

TEST_F(ChapterTextTest, nextPageLinkPreferredOverNextChapter) {
    serve("/c/1.html", GbkPage(Block("甲") + NextChapter("/c/9.html") + NextPage("/c/1_2.html")));
    serve("/c/1_2.html", GbkPage(Block("乙")));
    serve("/c/9.html", GbkPage(Block("丙")));
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(0), Gbk("甲\r\n乙"));
    EXPECT_EQ(requests("/c/9.html"), 0);
}

TEST_F(ChapterTextTest, linkWithQueryEndsChapter) {
    serve("/c/1.html", GbkPage(Block("甲") + "<a href=\"/c/1_2.html?p=2\">下一页</a>"));
    serve("/c/1_2.html", GbkPage(Block("乙")));
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(0), Gbk("甲"));
    EXPECT_EQ(requests("/c/1_2.html"), 0);
}

TEST_F(ChapterTextTest, nextPageLinkIntoNextRowEndsChapter) {
    serve("/c/1.html", GbkPage(Block("甲") + NextPage("/c/2.html")));
    serve("/c/2.html", GbkPage(Block("乙")));
    listRows({"/c/1.html", "/c/2.html"});
    EXPECT_EQ(extract(0), Gbk("甲"));
    EXPECT_EQ(requests("/c/2.html"), 0);
}

TEST_F(ChapterTextTest, nextChapterLinkOutsideNextRowIsFollowed) {
    serve("/c/1.html", GbkPage(Block("甲") + NextChapter("/c/1_2.html")));
    serve("/c/1_2.html", GbkPage(Block("乙") + NextChapter("/c/2.html")));
    serve("/c/2.html", GbkPage(Block("丙")));
    listRows({"/c/1.html", "/c/2.html"});
    EXPECT_EQ(extract(0), Gbk("甲\r\n乙"));
}

TEST_F(ChapterTextTest, lastRowFollowsEveryLink) {
    serve("/c/1.html", GbkPage(Block("甲") + NextChapter("/c/2.html")));
    serve("/c/2.html", GbkPage(Block("乙") + NextChapter("/c/3.html")));
    serve("/c/3.html", GbkPage(Block("丙")));
    listRows({"/c/1.html", "/c/2.html"});
    EXPECT_EQ(extract(1), Gbk("乙\r\n丙"));
}

class ContinueButtonTest : public ChapterTextTest {
  protected:
    ContinueButtonTest() {
        serve("/c/1.html", GbkPage(Block("甲") + ContinueButton("/c/1_2.html")));
        serve("/c/1_2.html", GbkPage(Block("乙") + ContinueButton("/c/1_3.html")));
        serve("/c/1_3.html", GbkPage(Block("丙")));
        listRows({"/c/1.html"});
    }
};

TEST_F(ContinueButtonTest, rewrittenOnFirstPageOnly) {
    EXPECT_EQ(extract(0, true), Gbk("甲\r\n乙"));
    EXPECT_EQ(requests("/c/1_3.html"), 0);
}

TEST_F(ContinueButtonTest, leftAloneWithoutRewrite) {
    EXPECT_EQ(extract(0, false), Gbk("甲"));
    EXPECT_EQ(requests("/c/1_2.html"), 0);
}

TEST_F(ChapterTextTest, utfFirstPageConvertsEveryContinuationPage) {
    serve("/c/1.html", PageMarkup(Block("甲") + NextPage("/c/1_2.html"), "utf-8"));
    // Declares gbk, yet is UTF-8 like the first page.
    serve("/c/1_2.html", PageMarkup(Block("乙"), "gbk"));
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(0), Gbk("甲\r\n乙"));
}

class PreprocessTest : public ChapterTextTest {
  protected:
    PreprocessTest() {
        serve("/c/1.html", GbkPage(Layout("甲", "乙丙") + NextPage("/c/1_2.html")));
        serve("/c/1_2.html", GbkPage(Layout("丁", "戊己")));
        listRows({"/c/1.html"});
    }

    // The script's closing divs end the text block early unless pre-processing joins it.
    static std::string Layout(const std::string& head, const std::string& tail) {
        return "<div id=\"t\">" + head + "<div><script></script></div></div>" + tail + "</div>";
    }
};

TEST_F(PreprocessTest, joinsBlockOnFirstPageOnly) {
    m_controls.setPreprocess(true);
    EXPECT_EQ(extract(0), Gbk("甲 乙丙\r\n丁"));
}

TEST_F(PreprocessTest, leavesPagesAloneWhenUnticked) {
    EXPECT_EQ(extract(0), Gbk("甲\r\n丁"));
}

TEST_F(ChapterTextTest, transcodePercentDecodesPage) {
    serve("/c/1.html", GbkPage(Block(PercentEncoded("甲乙"))));
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(0), Text{});
    m_controls.setTranscode(true);
    EXPECT_EQ(extract(0), Gbk("甲乙"));
}

TEST_F(ChapterTextTest, transcodeReadAgainForEveryPage) {
    serve("/c/1.html", GbkPage(Block("甲") + NextPage("/c/1_2.html")));
    serve("/c/1_2.html", GbkPage(Block(PercentEncoded("乙"))),
          [this] { m_controls.setTranscode(true); });
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(0), Gbk("甲\r\n乙"));
}

TEST_F(ChapterTextTest, chainBackToFetchedPageEnds) {
    serve("/c/1.html", GbkPage(Block("甲") + NextPage("/c/1_2.html")));
    serve("/c/1_2.html", GbkPage(Block("乙") + NextPage("/c/1.html")));
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(0), Gbk("甲\r\n乙"));
    EXPECT_EQ(requests("/c/1.html"), 1);
    EXPECT_EQ(requests("/c/1_2.html"), 1);
}

TEST_F(ChapterTextTest, endlessChainStopsAtPageLimit) {
    constexpr int kServed = 260;
    for (int page = 1; page <= kServed; ++page) {
        const std::string number = std::to_string(page);
        serve("/r/" + number + ".html",
              GbkPage(Block("第" + number + "页") +
                      NextPage("/r/" + std::to_string(page + 1) + ".html")));
    }
    listRows({"/r/1.html"});
    const TextArray lines = SplitText(extract(0), "\r\n");
    ASSERT_EQ(lines.size(), 200u);
    EXPECT_EQ(lines.back(), Gbk("第200页"));
    EXPECT_EQ(requests("/r/201.html"), 0);
}

TEST_F(ChapterTextTest, unreachableFirstPageGivesEmptyText) {
    listRows({"/missing.html"});
    EXPECT_EQ(extract(0), Text{});
}

TEST_F(ChapterTextTest, unreachableContinuationEndsWithEmptyLine) {
    serve("/c/1.html", GbkPage(Block("甲") + NextPage("/c/missing.html")));
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(0), Gbk("甲\r\n"));
}

TEST_F(ChapterTextTest, rowOutsideListGivesEmptyText) {
    listRows({"/c/1.html"});
    EXPECT_EQ(extract(1), Text{});
    EXPECT_EQ(extract(-1), Text{});
    EXPECT_EQ(requests("/c/1.html"), 0);
}

TEST_F(ChapterTextTest, filtersOnlyWhenEnabled) {
    serve("/c/1.html", GbkPage(Block("正文广告正文")));
    listRows({"/c/1.html"});
    m_controls.setFilter(false, Gbk("广告"));
    EXPECT_EQ(extract(0), Gbk("正文广告正文"));
    m_controls.setFilter(true, Gbk("广告"));
    EXPECT_EQ(extract(0), Gbk("正文正文"));
}

TEST_F(ChapterTextTest, sixThreadsExtractTheirOwnChapters) {
    constexpr int kChapters = 6;
    std::vector<std::string> paths;
    for (int chapter = 0; chapter < kChapters; ++chapter) {
        const std::string base = "/c/" + std::to_string(chapter + 1);
        serve(base + ".html",
              GbkPage(Block("第" + std::to_string(chapter) + "章甲") + NextPage(base + "_2.html")));
        serve(base + "_2.html", GbkPage(Block("乙")));
        paths.push_back(base + ".html");
    }
    listRows(paths);
    std::vector<Text> texts(kChapters);
    std::vector<std::thread> workers;
    for (int row = 0; row < kChapters; ++row) {
        workers.emplace_back([this, row, &texts] { texts[row] = extract(row); });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    for (int row = 0; row < kChapters; ++row) {
        EXPECT_EQ(texts[row], Gbk(("第" + std::to_string(row) + "章甲\r\n乙").c_str()));
    }
}

} // namespace
} // namespace quill

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "core/codepage.h"
#include "tests/support/raw_server.h"
#include "tests/web/fetch_test_support.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

constexpr int kPages = 500;
constexpr int kThreads = 6;
constexpr char kPagePrefix[] = "/page/";

// A GBK page whose length and bytes differ from page to page, so a body handed to the wrong
// request or cut short shows.
std::string PageBody(int page) {
    const std::string line = Gbk("第") + std::to_string(page) + Gbk("页，天下大势。") + "\r\n";
    std::string body;
    for (int i = 0; i <= page % 40; ++i) {
        body += line;
    }
    return body;
}

testing::RawReply NumberedPage(const testing::RawRequest& request) {
    const std::string number = request.target().substr(sizeof kPagePrefix - 1);
    return testing::KeepAliveReply(200, PageBody(std::stoi(number)));
}

TEST(FetchThreadsTest, sixThreads_getEveryBodyByteForByte) {
    testing::RawServer server(&NumberedPage);
    std::atomic<int> next{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int page = next++; page < kPages; page = next++) {
                const Bytes body = FetchPage(server.url(kPagePrefix + std::to_string(page)));
                wrong += testing::BodyText(body) == PageBody(page) ? 0 : 1;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(server.requests().size(), static_cast<std::size_t>(kPages));
}

} // namespace
} // namespace quill

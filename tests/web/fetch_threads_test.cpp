#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "core/codepage.h"
#include "tests/support/local_server.h"
#include "tests/web/fetch_test_support.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

constexpr int kPages = 500;
constexpr int kThreads = 6;

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

TEST(FetchThreadsTest, sixThreads_getEveryBodyByteForByte) {
    testing::LocalServer server;
    // Connections are reused; stopping then waits out one keep-alive second.
    server.server().set_keep_alive_max_count(kPages);
    server.server().set_keep_alive_timeout(1);
    server.server().Get(
        R"(/page/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content(PageBody(std::stoi(request.matches[1].str())), "text/html");
        });
    server.start();

    std::atomic<int> next{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int page = next++; page < kPages; page = next++) {
                const Bytes body = FetchPage(server.url("/page/" + std::to_string(page)));
                wrong += testing::BodyText(body) == PageBody(page) ? 0 : 1;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
} // namespace quill

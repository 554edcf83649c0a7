#include <gtest/gtest.h>
#include <ostream>
#include <thread>
#include <vector>

#include "tests/support/raw_server.h"
#include "tests/web/fetch_test_support.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

using testing::HttpReply;
using testing::RawReply;
using testing::RawRequest;
using testing::RawServer;

// Cookie tests talk to "localhost" and give every cookie a name of its own: the store lives as
// long as the test program, and tests elsewhere check exact header blocks sent to 127.0.0.1.
constexpr char kCookieHost[] = "localhost";

// /set/<pair> sets the cookie <pair> for the whole site; /drop/<name> deletes it; /setgo/<pair>
// sets it and redirects to /page; every other path answers plainly.
RawReply CookieSite(const RawRequest& request) {
    const std::string target = request.target();
    if (target.starts_with("/setgo/")) {
        return HttpReply(302, "moved", {"Set-Cookie: " + target.substr(7), "Location: /page"});
    }
    if (target.starts_with("/set/")) {
        return HttpReply(200, "set", {"Set-Cookie: " + target.substr(5) + "; Path=/"});
    }
    if (target.starts_with("/drop/")) {
        return HttpReply(200, "dropped",
                         {"Set-Cookie: " + target.substr(6) + "=; Path=/; Max-Age=0"});
    }
    return HttpReply(200, "page");
}

class CookieStoreTest : public ::testing::Test {
  protected:
    Text url(const std::string& path) const { return m_server.url(path, kCookieHost); }

    // The Cookie header of the last request the server received.
    std::string lastCookieHeader() const {
        const std::vector<RawRequest> requests = m_server.requests();
        return requests.empty() ? std::string() : requests.back().header("Cookie");
    }

    RawServer m_server{&CookieSite};
};

TEST_F(CookieStoreTest, cookieSetOnOneThread_isSentByTheNextRequestOnAnother) {
    std::thread([this] { FetchPage(url("/set/carried=1")); }).join();
    FetchPage(url("/page"));
    EXPECT_NE(lastCookieHeader().find("carried=1"), std::string::npos);
}

TEST_F(CookieStoreTest, cookieDeletedByTheServer_leavesTheStore) {
    FetchPage(url("/set/gone=1"));
    FetchPage(url("/drop/gone"));
    FetchPage(url("/page"));
    EXPECT_EQ(lastCookieHeader().find("gone="), std::string::npos);
}

TEST_F(CookieStoreTest, suppliedEmptyCookies_neitherSendNorKeepAnyCookie) {
    FetchPage(url("/set/kept=1"));
    Text cookies;
    FetchArgs args;
    args.cookies = &cookies;

    FetchPage(url("/set/ignored=1"), args);
    EXPECT_EQ(m_server.requests().back().header("Cookie"), "");

    FetchPage(url("/page"));
    EXPECT_NE(lastCookieHeader().find("kept=1"), std::string::npos);
    EXPECT_EQ(lastCookieHeader().find("ignored=1"), std::string::npos);
}

TEST_F(CookieStoreTest, suppliedCookies_keepTheFirstHopsCookieOutOfTheRedirect) {
    Text cookies;
    FetchArgs args;
    args.cookies = &cookies;
    FetchPage(url("/setgo/hopped=1"), args);

    ASSERT_EQ(m_server.requests().size(), 2u);
    EXPECT_EQ(lastCookieHeader(), "");
}

TEST_F(CookieStoreTest, cookiesSetByConcurrentRequests_allReachTheStore) {
    constexpr int kThreads = 6;
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back(
            [this, i] { FetchPage(url("/set/together" + std::to_string(i) + "=1")); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    FetchPage(url("/page"));
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_NE(lastCookieHeader().find("together" + std::to_string(i) + "=1"), std::string::npos)
            << i;
    }
}

struct SuppliedCookieCase {
    const char* name;
    Text cookies;
    std::string cookieLine;
};

std::ostream& operator<<(std::ostream& out, const SuppliedCookieCase& c) {
    return out << c.name;
}

class SuppliedCookieTest : public ::testing::TestWithParam<SuppliedCookieCase> {};

TEST_P(SuppliedCookieTest, suppliedCookies_goOutAsOneCookieLine) {
    RawServer server(&CookieSite);
    Text cookies = GetParam().cookies;
    Text headers;
    FetchArgs args;
    args.cookies = &cookies;
    args.headers = &headers;
    FetchPage(server.url("/page", kCookieHost), args);

    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].headerLines.back(), GetParam().cookieLine);
    EXPECT_TRUE(headers.ends_with("\r\n" + GetParam().cookieLine));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SuppliedCookieTest,
    ::testing::Values(SuppliedCookieCase{"pairs", "a=1; b=2", "Cookie: a=1; b=2"},
                      SuppliedCookieCase{"wholeLine", "Cookie: x=9", "Cookie: x=9"}),
    [](const auto& info) { return std::string(info.param.name); });

// Several Set-Cookie lines in assorted letter case, as some servers send them.
RawReply SeveralCookies(const RawRequest&) {
    return HttpReply(
        200, "page",
        {"set-cookie: a=1; path=/; HttpOnly", "SET-COOKIE: b=2", "Set-Cookie: c=3; Max-Age=60"});
}

TEST(ResponseCookieTest, severalSetCookieLines_areSpelledAlikeAndCollected) {
    RawServer server(&SeveralCookies);
    Text cookies;
    Text responseHeaders;
    Text responseCookies;
    FetchArgs args;
    args.cookies = &cookies;
    args.responseHeaders = &responseHeaders;
    args.responseCookies = &responseCookies;
    args.mergeCookies = false;
    FetchPage(server.url("/page"), args);

    EXPECT_TRUE(responseHeaders.starts_with("HTTP/1.1 200 Status\r\n"));
    EXPECT_NE(responseHeaders.find("\r\nSet-Cookie: a=1; path=/; HttpOnly\r\n"), Text::npos);
    EXPECT_NE(responseHeaders.find("\r\nSet-Cookie: b=2\r\n"), Text::npos);
    EXPECT_NE(responseHeaders.find("\r\nSet-Cookie: c=3; Max-Age=60\r\n"), Text::npos);
    EXPECT_TRUE(responseHeaders.ends_with("\r\n\r\n"));
    EXPECT_EQ(responseCookies, "a=1; b=2; c=3");
    EXPECT_EQ(cookies, "");
}

struct MergeCase {
    const char* name;
    Text cookies;
    std::vector<std::string> setCookieLines;
    bool merge;
    Text cookiesAfter;
    Text responseCookies;
};

std::ostream& operator<<(std::ostream& out, const MergeCase& c) {
    return out << c.name;
}

class MergeCookiesTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, suppliedCookies_takeTheResponsesChangesWhenMerging) {
    const MergeCase c = GetParam();
    RawServer server([&c](const RawRequest&) { return HttpReply(200, "page", c.setCookieLines); });
    Text cookies = c.cookies;
    Text responseCookies;
    FetchArgs args;
    args.cookies = &cookies;
    args.responseCookies = &responseCookies;
    args.mergeCookies = c.merge;
    FetchPage(server.url("/page"), args);

    EXPECT_EQ(cookies, c.cookiesAfter);
    EXPECT_EQ(responseCookies, c.responseCookies);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MergeCookiesTest,
    ::testing::Values(MergeCase{"responseWins",
                                "a=1; b=2",
                                {"Set-Cookie: b=3", "Set-Cookie: c=4; path=/"},
                                true,
                                "b=3; c=4; a=1",
                                "b=3; c=4; a=1"},
                      MergeCase{"deletedIsDropped", "a=1", {"Set-Cookie: a=deleted"}, true, "", ""},
                      MergeCase{"nothingNewKeepsOld", "a=1;b=2", {}, true, "a=1; b=2", "a=1; b=2"},
                      MergeCase{
                          "mergeOff", "a=1; b=2", {"Set-Cookie: b=3"}, false, "a=1; b=2", "b=3"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

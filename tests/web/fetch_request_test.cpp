#include <gtest/gtest.h>
#include <optional>
#include <ostream>

#include "core/codepage.h"
#include "core/text_rules.h"
#include "tests/support/raw_server.h"
#include "tests/support/temp_directory.h"
#include "tests/support/test_certificates.h"
#include "tests/web/fetch_test_support.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

using testing::BodyText;
using testing::BytesOf;
using testing::HttpReply;
using testing::RawReply;
using testing::RawRequest;
using testing::RawServer;

const std::string kDefaultAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

RawReply Page(const RawRequest&) {
    return HttpReply(200, "page body");
}

std::size_t CountLinesNamed(const RawRequest& request, const std::string& name) {
    std::size_t count = 0;
    for (const std::string& line : request.headerLines) {
        count += LowerAscii(line).starts_with(LowerAscii(name) + ":") ? 1 : 0;
    }
    return count;
}

struct SchemeCase {
    const char* name;
    bool secure;
};

std::ostream& operator<<(std::ostream& out, const SchemeCase& c) {
    return out << c.name;
}

// A recording server over plain HTTP or over TLS with a certificate only this test trusts.
class DefaultRequestTest : public ::testing::TestWithParam<SchemeCase> {
  protected:
    DefaultRequestTest() {
        std::optional<testing::TlsIdentity> identity;
        FetchLimits limits;
        if (GetParam().secure) {
            const testing::TestCertificates certificates =
                testing::MakeTestCertificates(m_dir.path());
            identity = certificates.server;
            limits.caFile = certificates.authorityFile;
        }
        m_limits.emplace(limits);
        m_server.emplace(&Page, identity);
    }

    testing::TempDirectory m_dir;
    std::optional<testing::ScopedFetchLimits> m_limits;
    std::optional<RawServer> m_server;
};

TEST_P(DefaultRequestTest, defaultGet_sendsExactlyTheFixedHeaderBlock) {
    const Text url = m_server->url("/book/1.html");
    Text headers;
    FetchArgs args;
    args.headers = &headers;

    EXPECT_EQ(BodyText(FetchPage(url, args)), "page body");

    const std::string block = "Accept: */*\r\nReferer: " + url +
                              "\r\nAccept-Language: zh-cn\r\n"
                              "Content-Type: application/x-www-form-urlencoded";
    EXPECT_EQ(headers, block);
    ASSERT_EQ(m_server->requests().size(), 1u);
    EXPECT_EQ(m_server->requests()[0].head(),
              "GET /book/1.html HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(m_server->port()) +
                  "\r\n" + kDefaultAgent + "\r\n" + block);
}

INSTANTIATE_TEST_SUITE_P(Schemes, DefaultRequestTest,
                         ::testing::Values(SchemeCase{"http", false}, SchemeCase{"https", true}),
                         [](const auto& info) { return std::string(info.param.name); });

class RequestTest : public ::testing::Test {
  protected:
    RawRequest onlyRequest() const {
        const std::vector<RawRequest> requests = m_server.requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? RawRequest{} : requests.front();
    }

    RawServer m_server{&Page};
};

TEST_F(RequestTest, callerReferer_isKeptAndNotRepeated) {
    Text headers = "Referer: http://elsewhere/";
    FetchArgs args;
    args.headers = &headers;
    FetchPage(m_server.url("/a"), args);

    const RawRequest request = onlyRequest();
    EXPECT_EQ(request.header("Referer"), "http://elsewhere/");
    EXPECT_EQ(CountLinesNamed(request, "Referer"), 1u);
}

TEST_F(RequestTest, lowerCaseAcceptLine_stillGetsTheDefaultAcceptAppended) {
    Text headers = "accept: text/html";
    FetchArgs args;
    args.headers = &headers;
    FetchPage(m_server.url("/a"), args);

    const std::vector<std::string> lines = onlyRequest().headerLines;
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[2], "accept: text/html");
    EXPECT_EQ(lines[3], "Accept: */*");
}

TEST_F(RequestTest, gbkPathWithQueryAndFragment_goesOutVerbatim) {
    const Text path = "/" + Gbk("章节") + "/../a%2Fb.html?q=" + Gbk("中") + "#frag";
    FetchPage(m_server.url(path));
    EXPECT_EQ(onlyRequest().target(), path);
}

TEST_F(RequestTest, spaceInPath_isEscapedToKeepTheRequestLineWhole) {
    FetchPage(m_server.url("/a b.html"));
    EXPECT_EQ(onlyRequest().target(), "/a%20b.html");
}

TEST_F(RequestTest, emptyValuedCallerLine_isSentNotDropped) {
    Text headers = "X-Empty:";
    FetchArgs args;
    args.headers = &headers;
    FetchPage(m_server.url("/a"), args);
    EXPECT_EQ(CountLinesNamed(onlyRequest(), "X-Empty"), 1u);
}

TEST_F(RequestTest, strayLineBreaksInCallerHeaders_cannotEndTheHeaderSection) {
    Text headers = "X-One: 1\r\n\r\nGET /smuggled HTTP/1.1\nX-Two: 2";
    FetchArgs args;
    args.headers = &headers;
    FetchPage(m_server.url("/a"), args);

    const RawRequest request = onlyRequest();
    EXPECT_EQ(request.target(), "/a");
    EXPECT_EQ(request.header("X-Two"), "2");
    EXPECT_TRUE(request.body.empty());
}

struct AgentCase {
    const char* name;
    Text headers;
    Text agentLine; // the one user-agent line the server should see
};

std::ostream& operator<<(std::ostream& out, const AgentCase& c) {
    return out << c.name;
}

class UserAgentTest : public ::testing::TestWithParam<AgentCase> {};

TEST_P(UserAgentTest, callerAgentLine_replacesTheDefault) {
    RawServer server(&Page);
    Text headers = GetParam().headers;
    FetchArgs args;
    args.headers = &headers;
    FetchPage(server.url("/a"), args);

    ASSERT_EQ(server.requests().size(), 1u);
    const RawRequest request = server.requests()[0];
    EXPECT_EQ(CountLinesNamed(request, "User-Agent"), 1u);
    EXPECT_NE(
        std::find(request.headerLines.begin(), request.headerLines.end(), GetParam().agentLine),
        request.headerLines.end());
}

INSTANTIATE_TEST_SUITE_P(
    Table, UserAgentTest,
    ::testing::Values(AgentCase{"canonical", "User-Agent: Foo", "User-Agent: Foo"},
                      AgentCase{"lowerCase", "user-agent: Foo", "user-agent: Foo"},
                      AgentCase{"upperCaseNoSpace", "USER-AGENT:Foo", "USER-AGENT:Foo"},
                      // A line that only ends in the name still names the agent.
                      AgentCase{"insideOtherName", "X-User-Agent: Bar", "User-Agent: Bar"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RequestTest, postFromText_sendsTheTextAsBodyAndFillsPostBytes) {
    Bytes postBytes;
    FetchArgs args;
    args.method = 1;
    args.postText = "a=1&b=2";
    args.postBytes = &postBytes;
    FetchPage(m_server.url("/form"), args);

    const RawRequest request = onlyRequest();
    const std::string url = m_server.url("/form");
    EXPECT_EQ(request.head(),
              "POST /form HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(m_server.port()) + "\r\n" +
                  kDefaultAgent + "\r\nAccept: */*\r\nReferer: " + url +
                  "\r\nAccept-Language: zh-cn\r\n"
                  "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 7");
    EXPECT_EQ(request.body, "a=1&b=2");
    EXPECT_EQ(postBytes, BytesOf("a=1&b=2"));
}

TEST_F(RequestTest, postFromBytes_winsOverTextAndKeepsZeroBytes) {
    Bytes postBytes = BytesOf(std::string_view("a\0b", 3));
    FetchArgs args;
    args.method = 1;
    args.postText = "ignored";
    args.postBytes = &postBytes;
    FetchPage(m_server.url("/form"), args);

    EXPECT_EQ(onlyRequest().body, std::string("a\0b", 3));
}

TEST_F(RequestTest, unknownMethod_countsAsGet) {
    FetchArgs args;
    args.method = 7;
    args.postText = "unused";
    FetchPage(m_server.url("/a"), args);
    EXPECT_EQ(onlyRequest().requestLine, "GET /a HTTP/1.1");
}

TEST(HeadRequestTest, head_givesAnEmptyResultButTheHeaders) {
    RawServer server([](const RawRequest&) { return HttpReply(200, "", {"X-Size: 3"}); });
    Text responseHeaders;
    FetchArgs args;
    args.method = 2;
    args.responseHeaders = &responseHeaders;

    EXPECT_TRUE(FetchPage(server.url("/a"), args).empty());
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].requestLine, "HEAD /a HTTP/1.1");
    EXPECT_NE(responseHeaders.find("X-Size: 3"), Text::npos);
}

struct BodyCase {
    const char* name;
    int status;
    std::string body;
};

std::ostream& operator<<(std::ostream& out, const BodyCase& c) {
    return out << c.name;
}

class BodyTest : public ::testing::TestWithParam<BodyCase> {};

TEST_P(BodyTest, body_comesBackByteForByteWhateverTheStatus) {
    const BodyCase c = GetParam();
    RawServer server([c](const RawRequest&) { return HttpReply(c.status, c.body); });
    EXPECT_EQ(BodyText(FetchPage(server.url("/a"))), c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BodyTest,
    ::testing::Values(BodyCase{"gbk", 200, Gbk("第一章 天下") + "\r\n"},
                      BodyCase{"utf8", 200, "\xE7\xAC\xAC\xE4\xB8\x80\xE7\xAB\xA0"},
                      BodyCase{"zeroBytes", 200, std::string("a\0\0b", 4)},
                      BodyCase{"empty", 200, ""}, BodyCase{"notFound", 404, "<h1>not here</h1>"},
                      BodyCase{"serverError", 500, "<h1>broken</h1>"}),
    [](const auto& info) { return std::string(info.param.name); });

// /old answers with a redirect to `location`; everything else with its own path as the body.
RawServer RedirectingServer(int status, const std::string& location) {
    return RawServer([status, location](const RawRequest& request) {
        if (request.target() == "/dir/old") {
            return HttpReply(status, "moved", {"Location: " + location});
        }
        return HttpReply(200, request.requestLine + "|" + request.body);
    });
}

TEST(RedirectTest, redirect_isFollowedWithTheSameHeaderBlock) {
    RawServer server = RedirectingServer(302, "next.html");
    Text responseHeaders;
    FetchArgs args;
    args.responseHeaders = &responseHeaders;

    EXPECT_EQ(BodyText(FetchPage(server.url("/dir/old"), args)), "GET /dir/next.html HTTP/1.1|");
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.requests()[1].header("Referer"), server.url("/dir/old"));
    EXPECT_TRUE(responseHeaders.starts_with("HTTP/1.1 200"));
    EXPECT_EQ(responseHeaders.find("Location"), Text::npos);
}

TEST(RedirectTest, noRedirect_returnsTheRedirectsOwnBodyAndHeaders) {
    RawServer server = RedirectingServer(302, "/elsewhere");
    Text responseHeaders;
    FetchArgs args;
    args.noRedirect = true;
    args.responseHeaders = &responseHeaders;

    EXPECT_EQ(BodyText(FetchPage(server.url("/dir/old"), args)), "moved");
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(responseHeaders.starts_with("HTTP/1.1 302"));
    EXPECT_NE(responseHeaders.find("Location: /elsewhere"), Text::npos);
}

struct PostRedirectCase {
    const char* name;
    int status;
    std::string followedWith;
};

std::ostream& operator<<(std::ostream& out, const PostRedirectCase& c) {
    return out << c.name;
}

class PostRedirectTest : public ::testing::TestWithParam<PostRedirectCase> {};

TEST_P(PostRedirectTest, postRedirect_followsAsBrowsersDo) {
    RawServer server = RedirectingServer(GetParam().status, "/dir/next");
    FetchArgs args;
    args.method = 1;
    args.postText = "x=1";
    EXPECT_EQ(BodyText(FetchPage(server.url("/dir/old"), args)), GetParam().followedWith);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PostRedirectTest,
    ::testing::Values(PostRedirectCase{"found", 302, "GET /dir/next HTTP/1.1|"},
                      PostRedirectCase{"seeOther", 303, "GET /dir/next HTTP/1.1|"},
                      PostRedirectCase{"temporary", 307, "POST /dir/next HTTP/1.1|x=1"},
                      PostRedirectCase{"permanent", 308, "POST /dir/next HTTP/1.1|x=1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RedirectTest, plainToSecureRedirect_isFollowedSilently) {
    testing::TempDirectory dir;
    const testing::TestCertificates certificates = testing::MakeTestCertificates(dir.path());
    FetchLimits limits;
    limits.caFile = certificates.authorityFile;
    testing::ScopedFetchLimits scoped(limits);
    RawServer secure([](const RawRequest&) { return HttpReply(200, "secure page"); },
                     certificates.server);
    RawServer plain = RedirectingServer(301, secure.url("/landing"));

    EXPECT_EQ(BodyText(FetchPage(plain.url("/dir/old"))), "secure page");
    EXPECT_EQ(secure.requests().size(), 1u);
}

TEST(ProxyTest, plainAddressThroughProxy_sendsTheAbsoluteAddressToTheProxy) {
    RawServer proxy([](const RawRequest&) { return HttpReply(200, "via proxy"); });
    const Text url = "http://novel.invalid/book/1.html";
    FetchArgs args;
    args.proxy = "127.0.0.1:" + std::to_string(proxy.port());

    EXPECT_EQ(BodyText(FetchPage(url, args)), "via proxy");
    ASSERT_EQ(proxy.requests().size(), 1u);
    const RawRequest request = proxy.requests()[0];
    EXPECT_EQ(request.requestLine, "GET http://novel.invalid/book/1.html HTTP/1.1");
    EXPECT_EQ(request.header("Host"), "novel.invalid");
    EXPECT_EQ(request.header("Referer"), url);
    EXPECT_EQ(CountLinesNamed(request, "Proxy-Connection"), 0u);
}

TEST(ProxyTest, secureAddressThroughProxy_asksTheProxyForATunnel) {
    RawServer proxy([](const RawRequest&) { return HttpReply(403, "no tunnels"); });
    FetchArgs args;
    args.proxy = "127.0.0.1:" + std::to_string(proxy.port());

    EXPECT_TRUE(FetchPage("https://novel.invalid:8443/book/1.html", args).empty());
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests()[0].requestLine, "CONNECT novel.invalid:8443 HTTP/1.1");
}

} // namespace
} // namespace quill

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <ostream>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/raw_server.h"
#include "tests/support/temp_directory.h"
#include "tests/support/test_certificates.h"
#include "tests/web/fetch_test_support.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using testing::HttpReply;
using testing::RawReply;
using testing::RawRequest;
using testing::RawServer;
using testing::ScopedFetchLimits;

// Far above every bound a test sets, yet far below the defaults a missing bound would leave.
constexpr auto kGenerousBound = std::chrono::seconds(20);

// A failed fetch: an empty body and no response headers or cookies.
void ExpectFailure(const Text& url, const FetchArgs& extra = {}) {
    Text responseHeaders = "untouched";
    Text responseCookies = "untouched";
    FetchArgs args = extra;
    args.responseHeaders = &responseHeaders;
    args.responseCookies = &responseCookies;
    const auto started = steady_clock::now();
    EXPECT_TRUE(FetchPage(url, args).empty());
    EXPECT_LT(steady_clock::now() - started, kGenerousBound);
    EXPECT_EQ(responseHeaders, "");
    EXPECT_EQ(responseCookies, "");
}

// A loopback port that nothing listens on.
int ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

TEST(FetchFaultTest, connectionRefused_givesTheEmptyResult) {
    ExpectFailure("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/a");
}

TEST(FetchFaultTest, unresolvableHost_givesTheEmptyResult) {
    ExpectFailure("http://novel.invalid/book/1.html");
}

// The in/out rules hold on failure too: the caller's cookies come back merged with none.
TEST(FetchFaultTest, failedFetch_stillMergesSuppliedCookies) {
    Text cookies = "a=1;  b=2";
    Text responseCookies;
    FetchArgs args;
    args.cookies = &cookies;
    args.responseCookies = &responseCookies;
    EXPECT_TRUE(FetchPage("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/a", args).empty());
    EXPECT_EQ(cookies, "a=1; b=2");
    EXPECT_EQ(responseCookies, "a=1; b=2");
}

struct UnsendableCase {
    const char* name;
    std::string path; // after "http://127.0.0.1:<port>"; a full address when it has a scheme
};

std::ostream& operator<<(std::ostream& out, const UnsendableCase& c) {
    return out << c.name;
}

class UnsendableAddressTest : public ::testing::TestWithParam<UnsendableCase> {};

TEST_P(UnsendableAddressTest, unsendableAddress_failsWithoutReachingAnyServer) {
    RawServer server([](const RawRequest&) { return HttpReply(200, "page"); });
    const std::string& path = GetParam().path;
    ExpectFailure(path.starts_with("http") ? path : server.url(path));
    EXPECT_TRUE(server.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnsendableAddressTest,
    ::testing::Values(UnsendableCase{"queryRightAfterHost", "http://localhost?x=1"},
                      UnsendableCase{"colonWithoutDigits", "http://127.0.0.1:/a"},
                      UnsendableCase{"portAboveRange", "http://127.0.0.1:70000/a"},
                      UnsendableCase{"hostWithAt", "http://user@127.0.0.1/a"},
                      UnsendableCase{"lineBreakInPath", "/a\r\nX-Injected: 1"},
                      UnsendableCase{"tabInPath", "/a\tb"}),
    [](const auto& info) { return std::string(info.param.name); });

struct CertificateCase {
    const char* name;
    std::string subjectAltName;
    bool trustIssuer;
};

std::ostream& operator<<(std::ostream& out, const CertificateCase& c) {
    return out << c.name;
}

class RejectedCertificateTest : public ::testing::TestWithParam<CertificateCase> {};

TEST_P(RejectedCertificateTest, rejectedCertificate_givesTheEmptyResult) {
    testing::TempDirectory served;
    testing::TempDirectory other;
    const testing::TestCertificates certificates =
        testing::MakeTestCertificates(served.path(), GetParam().subjectAltName);
    const testing::TestCertificates stranger = testing::MakeTestCertificates(other.path());
    FetchLimits limits;
    limits.caFile = GetParam().trustIssuer ? certificates.authorityFile : stranger.authorityFile;
    ScopedFetchLimits scoped(limits);
    RawServer server([](const RawRequest&) { return HttpReply(200, "page"); }, certificates.server);

    ExpectFailure(server.url("/a"));
    EXPECT_TRUE(server.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, RejectedCertificateTest,
                         ::testing::Values(CertificateCase{"untrustedIssuer", "IP:127.0.0.1",
                                                           false},
                                           CertificateCase{"otherName", "DNS:novel.invalid", true}),
                         [](const auto& info) { return std::string(info.param.name); });

constexpr char kPartialHead[] = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n";

struct BrokenReplyCase {
    const char* name;
    RawReply reply;
};

std::ostream& operator<<(std::ostream& out, const BrokenReplyCase& c) {
    return out << c.name;
}

class BrokenReplyTest : public ::testing::TestWithParam<BrokenReplyCase> {};

TEST_P(BrokenReplyTest, brokenReply_givesTheEmptyResult) {
    const RawReply reply = GetParam().reply;
    RawServer server([reply](const RawRequest&) { return reply; });
    ExpectFailure(server.url("/a"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BrokenReplyTest,
    ::testing::Values(BrokenReplyCase{"resetMidBody",
                                      {std::string(kPartialHead) + std::string(100, 'x'),
                                       RawReply::Ending::Reset}},
                      BrokenReplyCase{"truncatedBody",
                                      {std::string(kPartialHead) + std::string(100, 'x'),
                                       RawReply::Ending::Close}},
                      BrokenReplyCase{"resetBeforeAnswer", {"", RawReply::Ending::Reset}},
                      BrokenReplyCase{"closedBeforeAnswer", {"", RawReply::Ending::Close}},
                      BrokenReplyCase{"notHttp", {"hello\r\n\r\n", RawReply::Ending::Close}}),
    [](const auto& info) { return std::string(info.param.name); });

struct StallCase {
    const char* name;
    std::string bytesBeforeStall;
};

std::ostream& operator<<(std::ostream& out, const StallCase& c) {
    return out << c.name;
}

class StallTest : public ::testing::TestWithParam<StallCase> {};

TEST_P(StallTest, stalledServer_isGivenUpAfterTheStallBound) {
    FetchLimits limits;
    limits.stallTimeoutMs = 1000;
    ScopedFetchLimits scoped(limits);
    const std::string bytes = GetParam().bytesBeforeStall;
    RawServer server([bytes](const RawRequest&) {
        return RawReply{bytes, RawReply::Ending::Stall};
    });

    const auto started = steady_clock::now();
    ExpectFailure(server.url("/a"));
    EXPECT_GE(steady_clock::now() - started, milliseconds(900));
}

INSTANTIATE_TEST_SUITE_P(Table, StallTest,
                         ::testing::Values(StallCase{"beforeAnyByte", ""},
                                           StallCase{"midBody",
                                                     std::string(kPartialHead) + "partial"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FetchFaultTest, slowServerThatKeepsSending_outlastsTheStallBound) {
    FetchLimits limits;
    limits.stallTimeoutMs = 1000;
    ScopedFetchLimits scoped(limits);
    const std::string body(10, 'x');
    RawServer server([&body](const RawRequest&) {
        RawReply reply = HttpReply(200, body);
        reply.trickleBytes = reply.bytes.size() / 6;
        reply.tricklePause = milliseconds(300);
        return reply;
    });

    EXPECT_EQ(testing::BodyText(FetchPage(server.url("/a"))), body);
}

TEST(FetchFaultTest, redirectLoop_endsAtTheRedirectBound) {
    FetchLimits limits;
    limits.maxRedirects = 5;
    ScopedFetchLimits scoped(limits);
    RawServer server(
        [](const RawRequest&) { return HttpReply(302, "again", {"Location: /loop"}); });

    ExpectFailure(server.url("/loop"));
    EXPECT_EQ(server.requests().size(), 6u);
}

TEST(FetchFaultTest, redirectsUpToTheBound_areFollowed) {
    FetchLimits limits;
    limits.maxRedirects = 2;
    ScopedFetchLimits scoped(limits);
    RawServer server([](const RawRequest& request) {
        const std::string target = request.target();
        return target == "/2"
                   ? HttpReply(200, "arrived")
                   : HttpReply(302, "on", {"Location: /" + std::to_string(target.size())});
    });

    EXPECT_EQ(testing::BodyText(FetchPage(server.url("/a"))), "arrived");
}

struct BodySizeCase {
    const char* name;
    std::size_t bodyBytes;
    bool announced; // a Content-Length header, or a body that ends with the connection
    bool kept;
};

std::ostream& operator<<(std::ostream& out, const BodySizeCase& c) {
    return out << c.name;
}

class BodySizeTest : public ::testing::TestWithParam<BodySizeCase> {};

TEST_P(BodySizeTest, bodyAboveTheCap_givesTheEmptyResult) {
    const BodySizeCase c = GetParam();
    FetchLimits limits;
    limits.maxBodyBytes = 1000;
    ScopedFetchLimits scoped(limits);
    const std::string body(c.bodyBytes, 'x');
    RawServer server([&c, &body](const RawRequest&) {
        if (c.announced) {
            return HttpReply(200, body);
        }
        return RawReply{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body};
    });

    EXPECT_EQ(testing::BodyText(FetchPage(server.url("/a"))), c.kept ? body : "");
}

INSTANTIATE_TEST_SUITE_P(Table, BodySizeTest,
                         ::testing::Values(BodySizeCase{"announcedAtCap", 1000, true, true},
                                           BodySizeCase{"announcedAboveCap", 5000, true, false},
                                           BodySizeCase{"unannouncedAtCap", 1000, false, true},
                                           BodySizeCase{"unannouncedAboveCap", 50000, false,
                                                        false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

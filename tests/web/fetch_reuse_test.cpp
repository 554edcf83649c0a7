#include <gtest/gtest.h>
#include <ostream>
#include <set>

#include "tests/support/raw_server.h"
#include "tests/web/fetch_test_support.h"
#include "web/fetch_page.h"

namespace quill {
namespace {

constexpr int kRequests = 20;

struct ReuseCase {
    const char* name;
    bool reuse;
    std::size_t connections;
};

std::ostream& operator<<(std::ostream& out, const ReuseCase& c) {
    return out << c.name;
}

class ConnectionReuseTest : public ::testing::TestWithParam<ReuseCase> {};

TEST_P(ConnectionReuseTest, consecutiveFetches_shareOneConnectionUnlessReuseIsOff) {
    FetchLimits limits;
    limits.reuseConnections = GetParam().reuse;
    testing::ScopedFetchLimits scoped(limits);
    testing::RawServer server(
        [](const testing::RawRequest&) { return testing::KeepAliveReply(200, "page"); });

    for (int i = 0; i < kRequests; ++i) {
        ASSERT_EQ(testing::BodyText(FetchPage(server.url("/a"))), "page");
    }
    std::set<int> connections;
    for (const testing::RawRequest& request : server.requests()) {
        connections.insert(request.connection);
    }
    EXPECT_EQ(connections.size(), GetParam().connections);
}

INSTANTIATE_TEST_SUITE_P(Table, ConnectionReuseTest,
                         ::testing::Values(ReuseCase{"reused", true, 1},
                                           ReuseCase{"fresh", false, kRequests}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

#include <gtest/gtest.h>
#include <ostream>

#include "web/fetch_page.h"

namespace quill {
namespace {

struct UrlCase {
    const char* name;
    Text url;
    Text host;
    Text hostWithPort;
    int port;
    Text path;
};

std::ostream& operator<<(std::ostream& out, const UrlCase& c) {
    return out << c.name;
}

class UrlPartsTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlPartsTest, splitsAddressIntoHostPortAndPath) {
    const UrlCase& c = GetParam();
    EXPECT_EQ(UrlHost(c.url, false), c.host);
    EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort);
    EXPECT_EQ(UrlPort(c.url), c.port);
    EXPECT_EQ(UrlPath(c.url), c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UrlPartsTest,
    ::testing::Values(
        UrlCase{"noScheme", "H/book/1.html", "h", "h", 80, "/book/1.html"},
        UrlCase{"secureWithPortQueryFragment", "HTTPS://H:88/A/B?x=1#f", "h", "h:88", 88,
                "/A/B?x=1#f"},
        UrlCase{"secureDefaultPort", "https://h/x", "h", "h", 443, "/x"},
        UrlCase{"noSlashAfterHost", "http://H", "h", "h", 80, "/"},
        UrlCase{"queryRightAfterHost", "http://H?x=1", "h?x=1", "h?x=1", 80, "/"},
        UrlCase{"colonWithoutDigits", "http://H:/x", "h", "h:", 0, "/x"},
        UrlCase{"portWithLeadingSpace", "http://h: 81/x", "h", "h: 81", 81, "/x"},
        UrlCase{"portWithTrailingJunk", "http://h:81x/y", "h", "h:81x", 81, "/y"},
        UrlCase{"negativePort", "http://h:-5/y", "h", "h:-5", -5, "/y"},
        UrlCase{"noSchemeWithPort", "www.h.com:8080", "www.h.com", "www.h.com:8080", 8080, "/"},
        UrlCase{"pathKeepsLetterCase", "http://Site.COM/Book/Index.HTML", "site.com", "site.com",
                80, "/Book/Index.HTML"},
        UrlCase{"hostNameRepeatedInPath", "http://HOST/host/x", "host", "host", 80, "/host/x"},
        UrlCase{"httpsPrefixWithoutSlashes", "httpsite/x", "httpsite", "httpsite", 443, "/x"},
        UrlCase{"otherSchemeBecomesHost", "ftp://h/x", "ftp", "ftp:", 0, "//h/x"},
        UrlCase{"hostInsideScheme", "https://s/a", "s", "s", 443, "/a"},
        UrlCase{"schemeLaterInAddress", "xhttp://h/y", "h", "h", 80, "/y"},
        UrlCase{"gbkPath", "http://h/\xD5\xC2/1.html", "h", "h", 80, "/\xD5\xC2/1.html"},
        UrlCase{"empty", "", "", "", 80, "/"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "core/codepage.h"
#include "tests/support/memory_controls.h"
#include "web/links.h"

namespace quill {
namespace {

struct LinkCase {
    const char* name;
    const char* link;
    const char* siteRoot;
    const char* address;
    const char* resolved;
    bool rewritesLink;
};

std::ostream& operator<<(std::ostream& out, const LinkCase& c) {
    return out << c.name;
}

class ResolveLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(ResolveLinkTest, ResolvesAgainstSiteAndAddressBox) {
    const LinkCase& c = GetParam();
    testing::MemoryControls controls;
    controls.setAddress(c.address);
    Text link = c.link;
    EXPECT_EQ(ResolveLink(link, c.siteRoot, controls), c.resolved);
    EXPECT_EQ(link, c.rewritesLink ? c.resolved : c.link);
}

constexpr const char* kRoot = "http://H";
constexpr const char* kDirectory = "http://H/book/12/";

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolveLinkTest,
    ::testing::Values(
        LinkCase{"FileNameInDirectory", "3.html", kRoot, kDirectory, "http://H/book/12/3.html",
                 true},
        LinkCase{"FileNameReplacesIndexHtml", "3.html", kRoot, "http://H/book/12/index.html",
                 "http://H/book/12/3.html", true},
        LinkCase{"FileNameWithoutTrailingSlash", "3.html", kRoot, "http://H/book/12",
                 "http://H/book/123.html", true},
        LinkCase{"FileNameUnderDottedHost", "3.html", "http://www.h.com", "http://www.h.com/b/",
                 "http://www.h.com/b/3.html", true},
        LinkCase{"AbsolutePath", "/book/12/3.html", kRoot, kDirectory, "http://H/book/12/3.html",
                 true},
        LinkCase{"RelativePath", "book/12/3.html", kRoot, kDirectory, "http://H/book/12/3.html",
                 true},
        LinkCase{"HttpsRootKeepsScheme", "/a/1.html", "https://H", kDirectory, "https://H/a/1.html",
                 true},
        LinkCase{"SchemeRelative", "//G/x.html", kRoot, kDirectory, "http://G/x.html", true},
        LinkCase{"SchemeRelativeWithoutSchemeInRoot", "//G/x.html", "H", kDirectory, "//G/x.html",
                 true},
        LinkCase{"Absolute", "http://G/x.html", kRoot, kDirectory, "http://G/x.html", false},
        LinkCase{"HttpAnywhere", "/go?u=http.html", kRoot, kDirectory, "/go?u=http.html", false},
        LinkCase{"SchemeInCapitals", "HTTP://G/x.html", kRoot, kDirectory, "HTTP://G/x.html",
                 false},
        LinkCase{"HttpsSchemeInCapitals", "Https://G/x.html", kRoot, kDirectory, "Https://G/x.html",
                 false},
        LinkCase{"EmptySiteRoot", "/a/1.html", "", kDirectory, "/a/1.html", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResolveLink, ReadsAddressBoxAtTheMomentOfTheCall) {
    testing::MemoryControls controls;
    controls.setAddress("http://H/a/");
    Text first = "1.html";
    EXPECT_EQ(ResolveLink(first, kRoot, controls), "http://H/a/1.html");
    controls.setAddress("http://H/b/");
    Text second = "1.html";
    EXPECT_EQ(ResolveLink(second, kRoot, controls), "http://H/b/1.html");
}

struct DecodeCase {
    const char* name;
    Text text;
    bool toGbk;
    Text decoded;
};

std::ostream& operator<<(std::ostream& out, const DecodeCase& c) {
    return out << c.name;
}

class PercentDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(PercentDecodeTest, UndoesEscapes) {
    EXPECT_EQ(PercentDecode(GetParam().text, GetParam().toGbk), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PercentDecodeTest,
    ::testing::Values(DecodeCase{"Utf8EscapesToGbk", "%E4%B8%AD", true, "\xD6\xD0"},
                      DecodeCase{"Utf8EscapesKeptRaw", "%e4%b8%ad", false, "\xE4\xB8\xAD"},
                      DecodeCase{"PlusStaysPlus", "a+b%20c", false, "a+b c"},
                      DecodeCase{"ZeroByteAddsNothing", "a%00b", false, "ab"},
                      // A "%" that starts no escape is text and eats nothing after it.
                      DecodeCase{"PercentAtTheEnd", "100%", true, "100%"},
                      DecodeCase{"PercentBeforeOneDigit", "5%A", false, "5%A"},
                      DecodeCase{"PercentBeforeNonDigits", "%zz", false, "%zz"},
                      DecodeCase{"PercentBeforeDoubleByteCharacter", Gbk("100%中"), false,
                                 Gbk("100%中")},
                      DecodeCase{"EscapedPercent", "%2541", false, "%41"},
                      DecodeCase{"Empty", "", true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>

#include "app/table_of_contents.h"
#include "core/codepage.h"

namespace quill {
namespace {

struct Link {
    Text title;
    Text url;
    bool operator==(const Link&) const = default;
};
using Links = std::vector<Link>;

std::ostream& operator<<(std::ostream& out, const Link& link) {
    return out << '{' << ConvertGbkToUtf8(link.title) << ", " << link.url << '}';
}

Links Selected(const Links& links) {
    TextArray titles;
    TextArray urls;
    for (const Link& link : links) {
        titles.push_back(link.title);
        urls.push_back(link.url);
    }
    SelectChapterLinks(titles, urls);
    EXPECT_EQ(titles.size(), urls.size());
    Links kept;
    for (std::size_t i = 0; i < std::min(titles.size(), urls.size()); ++i) {
        kept.push_back({titles[i], urls[i]});
    }
    return kept;
}

Link Chapter(int number) {
    return {Gbk("第") + std::to_string(number) + Gbk("章"),
            "http://h/b/1/" + std::to_string(1000 + number) + ".html"};
}

Links Chapters(int first, int last) {
    Links links;
    for (int number = first; number <= last; ++number) {
        links.push_back(Chapter(number));
    }
    return links;
}

Links Joined(std::initializer_list<Links> parts) {
    Links joined;
    for (const Links& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

Link Nav(const char* title, const char* url) {
    return {Gbk(title), url};
}

struct SelectionCase {
    const char* name;
    Links input;
    Links expected;
};

std::ostream& operator<<(std::ostream& out, const SelectionCase& selection) {
    return out << selection.name;
}

// The edge case of five navigation links of assorted lengths, forty chapters and five more
// navigation links; one navigation address lies within three bytes of a chapter's.
SelectionCase NavigationAroundChapters() {
    const Links before = {Nav("首页", "http://h/"), Nav("排行", "http://h/top/"),
                          Nav("分类", "http://h/sort/1/"), Nav("登录", "http://h/login.php"),
                          Nav("书架", "http://h/bookcase/index.php")};
    const Link near = Nav("关于", "http://h/b/1/about.html");
    const Links after = {Nav("首页2", "http://h/index.htm"), near, Nav("联系", "http://h/c/"),
                         Nav("帮助", "http://h/help/faq/index/all.php"), Nav("尾", "http://h/e")};
    return {"NavigationAroundChapters", Joined({before, Chapters(1, 40), after}),
            Joined({Chapters(1, 40), {near}})};
}

SelectionCase LatestChaptersAtTheTop() {
    return {"LatestChaptersAtTheTop", Joined({Chapters(38, 40), Chapters(1, 40)}), Chapters(1, 40)};
}

SelectionCase TwoChaptersWithOneTitle() {
    Link second = Chapter(2);
    second.title = Chapter(5).title;
    return {"TwoChaptersWithOneTitle", Joined({{Chapter(1), second}, Chapters(3, 6)}),
            Joined({{Chapter(1)}, Chapters(3, 6)})};
}

// Addresses that grow by more than a byte around the middle fail the length test: every link
// survives, whatever its length.
SelectionCase GrowthAroundTheMiddle() {
    const Links links = {Nav("甲", "http://h/a"), Nav("乙", "http://h/bb"),
                         Nav("丙", "http://h/cccc"), Nav("丁", "http://h/dddddddddddd"),
                         Nav("戊", "http://h/e")};
    return {"GrowthAroundTheMiddle", links, links};
}

// Shrinking of any size around the middle keeps the test holding.
SelectionCase ShrinkingAroundTheMiddle() {
    const Links links = {Nav("甲", "http://h/aaaaaaaaaaaa"),
                         Nav("乙", "http://h/bbbbbbbb"),
                         Nav("丙", "http://h/c"),
                         Nav("丁", "http://h/d"),
                         Nav("戊", "http://h/eeee"),
                         Nav("己", "http://h/ffffffff")};
    return {"ShrinkingAroundTheMiddle", links, {links[2], links[3], links[4]}};
}

SelectionCase TwoLinks() {
    return {"TwoLinks", Chapters(1, 2), {}};
}
SelectionCase OneLink() {
    return {"OneLink", Chapters(1, 1), {}};
}
SelectionCase NoLinks() {
    return {"NoLinks", {}, {}};
}

// With three links no address precedes the middle one: the length test counts as failed.
SelectionCase ThreeLinksOfMixedLengths() {
    const Links links = {Nav("首页", "http://h/"), Chapter(1), Chapter(2)};
    return {"ThreeLinksOfMixedLengths", links, links};
}

SelectionCase ThreeLinksWithOneAddress() {
    Link copy = Chapter(1);
    copy.title = Gbk("最新");
    return {"ThreeLinksWithOneAddress", {copy, Chapter(2), Chapter(1)}, {Chapter(2), Chapter(1)}};
}

class SelectChapterLinksTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(SelectChapterLinksTest, keepsTheExpectedLinksInPageOrder) {
    EXPECT_EQ(Selected(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectChapterLinksTest,
                         ::testing::Values(NavigationAroundChapters(), LatestChaptersAtTheTop(),
                                           TwoChaptersWithOneTitle(), GrowthAroundTheMiddle(),
                                           ShrinkingAroundTheMiddle(), TwoLinks(), OneLink(),
                                           NoLinks(), ThreeLinksOfMixedLengths(),
                                           ThreeLinksWithOneAddress()),
                         [](const auto& info) { return std::string(info.param.name); });

// The selection loop written out as it is first described: arrays from 1, a linear search of
// the kept links for every link, and the length test failing when m = 1.
Links ReferenceSelection(const Links& links) {
    const long n = static_cast<long>(links.size());
    Links kept;
    if (n < 3) {
        return kept;
    }
    auto len = [&](long i) { return static_cast<long>(links[i - 1].url.size()); };
    const long m = n / 2;
    const bool d = m >= 2 && len(m) - len(m - 1) <= 1 && len(m + 1) - len(m) <= 1;
    for (long k = n; k >= 1; --k) {
        const Link& link = links[k - 1];
        if (d && std::labs(len(k) - len(m)) > 3) {
            continue;
        }
        auto sameUrl = [&](const Link& other) { return other.url == link.url; };
        auto sameTitle = [&](const Link& other) { return other.title == link.title; };
        if (std::any_of(kept.begin(), kept.end(), sameUrl) ||
            std::any_of(kept.begin(), kept.end(), sameTitle)) {
            continue;
        }
        kept.insert(kept.begin(), link);
    }
    return kept;
}

// Few distinct addresses and titles of close lengths, so that duplicates, the length test and
// its window of three bytes all come up often.
Links RandomLinks(std::mt19937& random) {
    std::uniform_int_distribution<int> count(0, 40);
    std::uniform_int_distribution<int> pick(0, 11);
    Links links(static_cast<std::size_t>(count(random)));
    for (Link& link : links) {
        const int address = pick(random);
        link.url = "http://h/" + std::string(static_cast<std::size_t>(address % 7), 'x') +
                   std::to_string(address);
        link.title = Gbk("章") + std::to_string(pick(random));
    }
    return links;
}

TEST(SelectChapterLinks, randomInputs_matchTheDirectLoop) {
    std::mt19937 random(20240517);
    for (int round = 0; round < 2000; ++round) {
        const Links links = RandomLinks(random);
        ASSERT_EQ(Selected(links), ReferenceSelection(links)) << "round " << round;
    }
}

TEST(SelectChapterLinks, unequalArrays_readNoTitleBeyondItsEnd) {
    TextArray titles = {"a", "b", "c"};
    TextArray urls = {"http://h/1", "http://h/2", "http://h/3", "http://h/4"};
    SelectChapterLinks(titles, urls);
    EXPECT_EQ(titles, (TextArray{"a", "b", "c"}));
    EXPECT_EQ(urls, (TextArray{"http://h/1", "http://h/2", "http://h/3"}));
}

} // namespace
} // namespace quill

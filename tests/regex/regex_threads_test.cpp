#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "core/codepage.h"
#include "regex/regex_object.h"

namespace quill {
namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 40;
constexpr int kBlocks = 30;

// A page whose answers are known by construction: block i holds i + 1 Han characters.
struct Page {
    Text text;
    int hanCount = 0;
    TextArray blocks;
    Text plain;
};

Page MakePage() {
    Page page;
    for (int i = 0; i < kBlocks; ++i) {
        Text block;
        for (int j = 0; j <= i; ++j) {
            block += Gbk("正");
        }
        page.text += "<div class=\"c\">" + block + "</div>\r\n";
        page.hanCount += i + 1;
        page.blocks.push_back(block);
        page.plain += block + "\r\n";
    }
    return page;
}

// One thread's work, each object its own; returns the number of wrong answers.
int CheckPage(const Page& page) {
    int wrong = 0;
    for (int round = 0; round < kRounds; ++round) {
        RegexObject han;
        RegexObject blocks;
        RegexObject tags;
        RegexObject rejected;
        wrong += !han.Create("[\\u4e00-\\u9fa5]", page.text) || han.MatchCount() != page.hanCount;
        wrong += !blocks.Create("<div.*?>([\\s\\S]*?)</div>", page.text) ||
                 blocks.MatchCount() != kBlocks;
        for (int i = 0; i < kBlocks; ++i) {
            wrong += blocks.SubMatchText(i + 1, 1) != page.blocks[i];
        }
        wrong += !tags.Create("<[\\w\\s\\.=\\-,:;%\"'/\\(\\)]+>", page.text) ||
                 tags.ReplaceMatches() != page.plain;
        wrong += rejected.Create("([", page.text) || rejected.ReplaceMatches() != "";
    }
    return wrong;
}

TEST(RegexThreads, EightThreadsWithTheirOwnObjects_GetCorrectAnswers) {
    const Page page = MakePage();
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] { wrong += CheckPage(page); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
} // namespace quill

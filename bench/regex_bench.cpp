#include <benchmark/benchmark.h>
#include <string>

#include "core/codepage.h"
#include "regex/regex_object.h"

namespace quill {
namespace {

// A chapter-like page of about `bytes` bytes: navigation links in spans, then text blocks of
// Han paragraphs broken by <br>, as the sites this tool reads serve them.
Text MakePage(std::size_t bytes) {
    const Text paragraph = Gbk("　　少年抬头望向远处的群山，心中默念着师父临别时的话语，") +
                           Gbk("脚下的路还很长。") + "<br /><br />\r\n";
    const Text navigation =
        "<span class=\"nav\"><a href=\"/book/12/3.html\">" + Gbk("下一章") + "</a></span>\r\n";
    Text page = "<html><head><meta charset=\"gbk\"><title>" + Gbk("山河志最新章节") +
                "</title></head><body>\r\n";
    for (int block = 0; page.size() < bytes; ++block) {
        page += navigation + "<div id=\"c" + std::to_string(block) + "\" class=\"content\">\r\n";
        for (int i = 0; i < 8; ++i) {
            page += paragraph;
        }
        page += "</div>\r\n";
    }
    return page + "</body></html>\r\n";
}

void RunPattern(benchmark::State& state, const char* pattern) {
    const Text page = MakePage(static_cast<std::size_t>(state.range(0)));
    int matches = 0;
    for (auto _ : state) {
        RegexObject regex;
        regex.Create(pattern, page);
        matches = regex.MatchCount();
        benchmark::DoNotOptimize(matches);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
    state.counters["matches"] = matches;
}

void BM_BlockPattern(benchmark::State& state) {
    RunPattern(state, "<div.*?>([\\s\\S]*?)</div>|<span.*?>([\\s\\S]*?)</span>");
}

void BM_HanClass(benchmark::State& state) {
    RunPattern(state, "[\\u4e00-\\u9fa5]");
}

BENCHMARK(BM_BlockPattern)->Arg(100 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HanClass)->Arg(100 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quill

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "tests/faults/fault_batch.h"

namespace quill::testing {
namespace {

namespace fs = std::filesystem;

// Root may write into any directory whatever its mode bits; a regular file where a directory
// should be stops everyone.
void ReplaceByFile(const fs::path& directory) {
    fs::remove_all(directory);
    std::ofstream(directory) << "not a directory";
}

struct SabotageCase {
    const char* name;
    // Done to the output directory while every worker waits for its page.
    std::function<void(const fs::path& output)> sabotage;
    bool bookWritten;
};

std::ostream& operator<<(std::ostream& out, const SabotageCase& testCase) {
    return out << testCase.name;
}

std::vector<SabotageCase> SabotageCases() {
    return {
        {"OutputDirectoryReplacedByAFile", [](const fs::path& output) { ReplaceByFile(output); },
         false},
        {"OutputDirectoryRemoved", [](const fs::path& output) { fs::remove_all(output); }, false},
        {"TempDirectoryReplacedByAFile",
         [](const fs::path& output) { ReplaceByFile(output / "temp"); }, true},
    };
}

class OutputFaultTest : public FaultBatchTest,
                        public ::testing::WithParamInterface<SabotageCase> {};

// No row is marked done for a file that was never written, and a book that cannot be written
// is reported instead of announced.
TEST_P(OutputFaultTest, unusableOutput_leavesRowsWaitingAndIsReported) {
    const std::vector<std::string> paths = {"/c/1.html", "/c/2.html", "/c/3.html"};
    listRows(paths);
    for (int row = 0; row < 3; ++row) {
        m_site.serve(paths[row], [this, row] {
            m_gate.wait();
            return HttpReply(200, ChapterPage(ChapterBody(row)));
        });
    }

    startBatch();
    ASSERT_TRUE(WaitFor([this] { return m_site.requestCount() == 3; }));
    GetParam().sabotage(m_context.outputDirectory);
    m_gate.open();
    ASSERT_TRUE(finishBatch());

    expectStatuses({{}, {}, {}});
    if (GetParam().bookWritten) {
        EXPECT_EQ(readBook(), m_state.BookTitle + "\r\n");
        expectClosingMessage(Gbk("《故障之书》下载完毕，合并完成！"));
    } else {
        EXPECT_FALSE(fs::is_regular_file(bookPath()));
        expectClosingMessage(Gbk("《故障之书》合并失败，无法写入文件：") +
                             ConvertUtf8ToGbk(bookPath().string()));
    }
}

INSTANTIATE_TEST_SUITE_P(Sabotage, OutputFaultTest, ::testing::ValuesIn(SabotageCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quill::testing

#include <fstream>

#include "core/codepage.h"
#include "download_fixture.h"

namespace quill::testing {
namespace {

class MergeTest : public DownloadTest {
  protected:
    void SetUp() override { std::filesystem::create_directory(TempDirectory(m_context)); }

    void writeTempFile(int n, const Text& content) {
        std::ofstream(TempDirectory(m_context) / (std::to_string(n) + ".txt"), std::ios::binary)
            << content;
    }

    Text titleLine() const { return m_state.BookTitle + "\r\n"; }
};

TEST_F(MergeTest, JoinsExistingTempFilesInRowOrderUpToTheRowCount) {
    m_controls.fillRows(TextArray(3, "t"));
    writeTempFile(1, "one\r\n");
    writeTempFile(3, "three\r\n");
    writeTempFile(4, "beyond the list\r\n");

    MergeBook(m_context);

    EXPECT_EQ(readFile(bookPath()), titleLine() + "one\r\nthree\r\n");
    EXPECT_EQ(m_controls.timerPeriod(), 0);
    EXPECT_TRUE(m_controls.batchCommandsEnabled());
}

TEST_F(MergeTest, OverwritesAnEarlierBookWhole) {
    m_controls.fillRows(TextArray(1, "t"));
    std::ofstream(bookPath(), std::ios::binary) << Text(4096, 'x');
    writeTempFile(1, "one\r\n");

    MergeBook(m_context);

    EXPECT_EQ(readFile(bookPath()), titleLine() + "one\r\n");
}

TEST_F(MergeTest, AnnouncesTheBookInASelfClosingMessage) {
    MergeBook(m_context);

    const auto messages = m_controls.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, Gbk("《测试之书》下载完毕，合并完成！"));
    EXPECT_EQ(messages[0].caption, Gbk("标题"));
    EXPECT_EQ(messages[0].milliseconds, 1000);
}

TEST_F(MergeTest, UnwritableBookIsReportedByName) {
    std::filesystem::create_directory(bookPath()); // a directory where the file should go

    MergeBook(m_context);

    const auto messages = m_controls.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              Gbk("《测试之书》合并失败，无法写入文件：") + ConvertUtf8ToGbk(bookPath().string()));
}

TEST_F(MergeTest, TitleCannotLeadOutOfTheOutputDirectory) {
    m_state.BookTitle = "../escaped";

    MergeBook(m_context);

    EXPECT_FALSE(std::filesystem::exists(m_root / "escaped.txt"));
    EXPECT_EQ(readFile(m_output / ".._escaped.txt"), "../escaped\r\n");
}

TEST_F(MergeTest, EmptyTitleGivesDotTxt) {
    m_state.BookTitle.clear();

    MergeBook(m_context);

    EXPECT_EQ(readFile(m_output / ".txt"), "\r\n");
}

} // namespace
} // namespace quill::testing

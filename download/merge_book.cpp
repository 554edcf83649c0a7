#include "core/codepage.h"
#include "download.h"
#include "file_bytes.h"

namespace quill {
namespace {

const int kMessageMilliseconds = 1000;

// Title line and every temp file 1..n that exists, in row order.
bool WriteBook(const DownloadContext& context, const std::filesystem::path& book) {
    std::ofstream out(book, std::ios::binary | std::ios::trunc);
    const Text titleLine = context.state.BookTitle + "\r\n";
    out.write(titleLine.data(), static_cast<std::streamsize>(titleLine.size()));
    const int rows = context.controls.rowCount();
    for (int row = 0; row < rows && out; ++row) {
        AppendFileIfPresent(out, TempFilePath(context, row));
    }
    out.close();
    return !out.fail();
}

Text ClosingMessage(const DownloadContext& context, bool written,
                    const std::filesystem::path& book) {
    const Text title = Gbk("《") + context.state.BookTitle;
    if (written) {
        return title + Gbk("》下载完毕，合并完成！");
    }
    return title + Gbk("》合并失败，无法写入文件：") + ConvertUtf8ToGbk(book.string());
}

} // namespace

void MergeBook(DownloadContext& context) {
    const auto book = BookFilePath(context);
    const Text message = ClosingMessage(context, WriteBook(context, book), book);
    context.controls.setTimerPeriod(0);
    context.controls.showTimedMessage(message, Gbk("标题"), kMessageMilliseconds);
    // Only now: a new parse or batch during the merge would change the title and the temp
    // files under it, and a new batch's timer would be stopped by the merge. Last, so that
    // whoever sees the commands back may count on the batch having left everything alone.
    context.controls.setBatchCommandsEnabled(true);
}

} // namespace quill

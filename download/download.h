#pragma once

#include <filesystem>

#include "core/controls.h"
#include "core/shared_state.h"

namespace quill {

// Where a batch writes: the output directory ("小说下载") and its "temp" directory.
struct DownloadContext {
    SharedState& state;
    Controls& controls;
    std::filesystem::path outputDirectory;
};

std::filesystem::path TempDirectory(const DownloadContext& context);
// The temp file of list row `row` (0-based): temp/<row + 1>.txt.
std::filesystem::path TempFilePath(const DownloadContext& context, int row);
// The book file: BookTitle + ".txt" in the output directory. A "/" in the title becomes "_", so
// a title taken from a web page can never name a file outside the output directory.
std::filesystem::path BookFilePath(const DownloadContext& context);

// Window thread, on a press of "下载": prepares the temp directory and starts the scheduler.
void StartDownload(DownloadContext& context);
// Scheduler thread body: one worker per list row, at most six at once.
void DispatchChapters(DownloadContext& context);
// Worker thread body for one row.
void DownloadChapter(DownloadContext& context, int row);
// Window thread, each timer period: shows the worker count, starts the merge when done.
void ShowProgress(DownloadContext& context);
// Merge thread body: joins the temp files into the book file.
void MergeBook(DownloadContext& context);

} // namespace quill

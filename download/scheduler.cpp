#include "core/codepage.h"
#include "core/text_rules.h"
#include "detached_thread.h"
#include "download.h"
#include "worker_places.h"

namespace quill {
namespace {

const int kProgressPeriodMilliseconds = 300;

void PrepareTempDirectory(const DownloadContext& context) {
    std::error_code error;
    std::filesystem::remove_all(TempDirectory(context), error);
    std::filesystem::create_directory(TempDirectory(context), error);
}

void BeginBatch(DownloadContext& context) {
    // Nothing may rebuild or reorder the chapter arrays, or start a second batch, under the
    // workers.
    context.controls.setBatchCommandsEnabled(false);
    context.controls.setCaption(Caption::DownloadButton, Gbk("下载中"));
    PrepareTempDirectory(context);
    // Every batch needs the timer to be merged, not only the first one after a parse.
    context.controls.setTimerPeriod(kProgressPeriodMilliseconds);
}

// A batch that has nothing to merge gives the window back at once.
void EndBatchWithoutMerge(DownloadContext& context) {
    context.controls.setTimerPeriod(0);
    context.controls.setCaption(Caption::DownloadButton, Gbk("下载"));
    context.controls.setBatchCommandsEnabled(true);
}

// False when no thread could be started for the row; its place is given back.
bool StartWorker(DownloadContext& context, int row) {
    ReserveWorkerPlace(context.state);
    if (StartDetached([&context, row] { DownloadChapter(context, row); })) {
        return true;
    }
    ReleaseWorkerPlace(context.state);
    return false;
}

bool BatchIsOver(const SharedState& state) {
    // The flag first: it is raised only after the last worker was counted, so a count of 0
    // read after it means every worker has ended.
    return state.DispatchFlag.load() == 1 && state.WorkerCount.load() == 0;
}

void StartMerge(DownloadContext& context) {
    context.state.DispatchFlag = 0;
    if (!StartDetached([&context] { MergeBook(context); })) {
        context.state.DispatchFlag = 1; // the next period tries again
        return;
    }
    context.controls.setCaption(Caption::DownloadButton, Gbk("下载"));
}

} // namespace

void StartDownload(DownloadContext& context) {
    BeginBatch(context);
    if (!StartDetached([&context] { DispatchChapters(context); })) {
        EndBatchWithoutMerge(context);
    }
}

void DispatchChapters(DownloadContext& context) {
    int started = 0;
    for (int row = 0; row < context.controls.rowCount(); ++row) {
        started += StartWorker(context, row) ? 1 : 0;
    }
    if (started == 0) {
        EndBatchWithoutMerge(context);
        return;
    }
    context.state.DispatchFlag = 1;
}

void ShowProgress(DownloadContext& context) {
    context.controls.setCaption(Caption::WorkerLabel,
                                Gbk("线程：") + DecimalText(context.state.WorkerCount.load()));
    if (BatchIsOver(context.state)) {
        StartMerge(context);
    }
}

} // namespace quill

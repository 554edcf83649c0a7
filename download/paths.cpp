#include "core/run_directory.h"
#include "core/text_rules.h"
#include "download.h"

namespace quill {

std::filesystem::path TempDirectory(const DownloadContext& context) {
    return context.outputDirectory / "temp";
}

std::filesystem::path TempFilePath(const DownloadContext& context, int row) {
    return TempDirectory(context) / (DecimalText(static_cast<long long>(row) + 1) + ".txt");
}

std::filesystem::path BookFilePath(const DownloadContext& context) {
    const Text name = ReplaceText(context.state.BookTitle, "/", "_") + ".txt";
    return context.outputDirectory / PathFromText(name);
}

} // namespace quill

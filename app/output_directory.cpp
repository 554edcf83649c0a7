#include "output_directory.h"

#include <system_error>
#include <unistd.h>

#include <QStandardPaths>

#include "core/codepage.h"
#include "core/run_directory.h"

namespace quill {
namespace {

std::filesystem::path OutputName() {
    return PathFromText(Gbk("小说下载"));
}

bool IsWritableDirectory(const std::filesystem::path& directory) {
    std::error_code error;
    return std::filesystem::is_directory(directory, error) &&
           access(directory.c_str(), W_OK | X_OK) == 0;
}

// A program installed into the system's own directories never writes beside itself, not even
// when root, who could, runs it.
bool IsSystemDirectory(const std::filesystem::path& directory) {
    const std::string path = directory.lexically_normal().string();
    for (const std::string prefix : {"/usr", "/bin", "/sbin", "/opt"}) {
        if (path == prefix || path.rfind(prefix + "/", 0) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

std::filesystem::path ChooseOutputDirectory(const std::filesystem::path& runDirectory,
                                            const std::filesystem::path& downloadsDirectory) {
    std::error_code error;
    const std::filesystem::path beside = runDirectory / OutputName();
    if (!IsSystemDirectory(runDirectory)) {
        std::filesystem::create_directory(beside, error);
        if (IsWritableDirectory(beside)) {
            return beside;
        }
    }
    if (downloadsDirectory.empty()) {
        return beside;
    }
    const std::filesystem::path fallback = downloadsDirectory / OutputName();
    std::filesystem::create_directories(fallback, error);
    return IsWritableDirectory(fallback) ? fallback : beside;
}

std::filesystem::path OutputDirectory() {
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return ChooseOutputDirectory(RunDirectory(), downloads.toStdString());
}

} // namespace quill

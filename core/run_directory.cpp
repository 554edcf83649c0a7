#include "run_directory.h"

#include <system_error>

#include "codepage.h"

namespace quill {

std::filesystem::path RunDirectory() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error);
    }
    return program.parent_path();
}

std::filesystem::path PathFromText(const std::string& gbk) {
    return std::filesystem::path(ConvertGbkToUtf8(gbk));
}

} // namespace quill

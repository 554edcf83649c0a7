#pragma once

#include <filesystem>

namespace quill {

// The directory that holds the running program file.
std::filesystem::path RunDirectory();

// A file or directory name made from code page 936 text, as UTF-8 for the Linux file system.
std::filesystem::path PathFromText(const std::string& gbk);

} // namespace quill

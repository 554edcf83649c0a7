#pragma once

#include <filesystem>

namespace quill {

// Creates "小说下载" in `runDirectory` and returns it; when that place cannot take it or lies in
// the system's own directories (an installed program), creates and returns "小说下载" in
// `downloadsDirectory` instead. Failures
// are not reported: the first choice is returned and later writes simply fail.
std::filesystem::path ChooseOutputDirectory(const std::filesystem::path& runDirectory,
                                            const std::filesystem::path& downloadsDirectory);

// The output directory beside the program, or in the user's download directory.
std::filesystem::path OutputDirectory();

} // namespace quill

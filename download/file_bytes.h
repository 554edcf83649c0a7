#pragma once

#include <filesystem>
#include <fstream>

#include "core/text.h"

namespace quill {

// Creates or truncates the file and writes `bytes`; true only when every byte reached the file.
bool WriteWholeFile(const std::filesystem::path& path, const Text& bytes);
// The file's whole content; empty when it cannot be read.
Text ReadWholeFile(const std::filesystem::path& path);
// Appends the whole content of the file at `path`, if it exists, to `out`.
void AppendFileIfPresent(std::ofstream& out, const std::filesystem::path& path);

} // namespace quill

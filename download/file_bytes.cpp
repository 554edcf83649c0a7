#include "file_bytes.h"

#include <iterator>

namespace quill {

bool WriteWholeFile(const std::filesystem::path& path, const Text& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

Text ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void AppendFileIfPresent(std::ofstream& out, const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return;
    }
    const Text content = ReadWholeFile(path);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

} // namespace quill

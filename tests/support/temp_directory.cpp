#include "temp_directory.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace quill::testing {

TempDirectory::TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quill-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    if (!m_path.empty()) {
        std::filesystem::remove_all(m_path, ignored);
    }
}

} // namespace quill::testing

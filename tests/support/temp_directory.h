#pragma once

#include <filesystem>

namespace quill::testing {

// A fresh directory under the system's temporary directory, removed with its content by the
// destructor.
class TempDirectory final {
  public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

} // namespace quill::testing

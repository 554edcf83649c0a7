#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/shared_state.h"
#include "download/download.h"
#include "tests/faults/fault_site.h"
#include "tests/support/memory_controls.h"
#include "tests/support/temp_directory.h"
#include "tests/web/fetch_test_support.h"

namespace quill::testing {

// Bounds far below the defaults, so a fault that waits for one shows within a test.
constexpr long kStallBoundMs = 1000;
constexpr long kMaxRedirects = 5;
constexpr std::size_t kBodyCap = 16 * 1024;
FetchLimits FaultLimits();

// Polls `done`, running `step` between polls, for kHangBound at most.
bool WaitFor(const std::function<bool()>& done, const std::function<void()>& step = {});

// A batch over chapters served by a misbehaving site, written to a fresh output directory.
// Row r's title is ChapterTitle(r); every row starts ticked and "待下载".
class FaultBatchTest : public ::testing::Test {
  protected:
    FaultBatchTest();
    ~FaultBatchTest() override;

    void listRows(const std::vector<std::string>& paths);
    // Presses "下载" and drives the timer until the batch gives the commands back, its last
    // act. False when that took longer than kHangBound.
    bool runBatch();
    // For each row, the chapter text its worker should have stored, empty for a row that must
    // be left out: the book holds exactly the stored ones, in row order, and only they are
    // "下载完成".
    void expectBook(const std::vector<Text>& texts);
    void expectClosingMessage(const Text& text);
    Text readBook() const;
    std::filesystem::path bookPath() const;
    std::chrono::steady_clock::duration batchTime() const { return m_batchTime; }

    ScopedFetchLimits m_limits{FaultLimits()};
    TempDirectory m_root;
    SharedState m_state;
    MemoryControls m_controls;
    DownloadContext m_context{m_state, m_controls, {}};
    // Routes that hold a reply back wait here; it opens at the latest when the test ends.
    Gate m_gate;
    FaultSite m_site;

  private:
    bool batchEnded();

    bool m_batchStarted = false;
    std::chrono::steady_clock::duration m_batchTime{};
};

} // namespace quill::testing

#pragma once

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
    // The same in two steps, for a test that acts while the batch runs.
    void startBatch();
    bool finishBatch();
    // For each row, the chapter text its worker should have stored, empty for a row that must
    // be left out: the book holds exactly the stored ones, in row order, and only they are
    // "下载完成".
    void expectBook(const std::vector<Text>& texts);
    // Only the rows whose text is not empty are "下载完成".
    void expectStatuses(const std::vector<Text>& texts);
    void expectClosingMessage(const Text& text);
    Text readBook() const;
    std::filesystem::path bookPath() const;

    ScopedFetchLimits m_limits{FaultLimits()};
    TempDirectory m_root;
    SharedState m_state;
    MemoryControls m_controls;
    DownloadContext m_context{m_state, m_controls, {}};
    // Routes that hold a reply back wait here; it opens at the latest when the test ends.
    Gate m_gate;
    FaultSite m_site;

  private:
    bool m_batchStarted = false;
};

} // namespace quill::testing

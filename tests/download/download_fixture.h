#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>

#include "core/shared_state.h"
#include "download/download.h"
#include "tests/support/local_server.h"
#include "tests/support/memory_controls.h"

namespace quill::testing {

// Polls `done`, running `step` between polls, for a generous time at most.
bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& step = {});

// A chapter body of Han text that never contains its own title "第<n>章".
Text ChapterBody(int n);
Text ChapterTitle(int n);
// The title column, CR LF, the array title, CR LF, the body, CR LF: what a worker stores.
Text StoredChapter(int n);

// A fresh output directory, a chapter site on loopback and a batch context over them.
//   /chapter/<n>  a page whose text block is ChapterBody(n)
//   /titled/<n>   the same with the title inside the text
//   /missing/<n>  an empty body, as a chapter that cannot be fetched gives
//   /gated/<n>    the /chapter/ page, held back until openGate()
// Every request counts towards the most requests served at once.
class DownloadTest : public ::testing::Test {
  protected:
    DownloadTest();
    ~DownloadTest() override;

    // Rows 1..count, ticked and waiting, each row n at `route` + n.
    void listChapters(int count, const std::string& route = "/chapter/");
    void setChapterRoute(int row, const std::string& route);

    // Presses "下载" and drives the timer until the batch has given the commands back, its
    // last act. False when it did not end in time.
    bool runBatch();
    void openGate();
    bool driveTimerUntil(const std::function<bool()>& done);
    // Waits for the worker count of a batch to come back to 0.
    bool waitForIdleWorkers();

    Text readFile(const std::filesystem::path& path) const;
    std::filesystem::path bookPath() const { return m_output / (m_bookName + ".txt"); }

    std::filesystem::path m_root;
    std::filesystem::path m_output;
    std::string m_bookName = "测试之书"; // UTF-8, as the file system sees it
    SharedState m_state;
    MemoryControls m_controls;
    DownloadContext m_context{m_state, m_controls, {}};
    LocalServer m_server;
    std::atomic<int> m_running{0};
    std::atomic<int> m_mostRunning{0};
    std::atomic<int> m_delayMs{0};
    std::mutex m_gateMutex;
    std::condition_variable m_gateOpened;
    bool m_gateOpen = false;
};

} // namespace quill::testing

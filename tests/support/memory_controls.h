#pragma once

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "core/controls.h"

namespace quill::testing {

// Controls held in memory, for tests of the core. Safe to use from several threads.
class MemoryControls final : public Controls {
  public:
    struct Row {
        bool ticked = true;
        Text cells[3];
    };
    struct Message {
        Text text;
        Text caption;
        int milliseconds = 0;
    };

    Text addressText() const override;
    bool transcodeTicked() const override;
    bool preprocessTicked() const override;
    bool filterEnabled() const override;
    Text filterRules() const override;
    int rowCount() const override;
    bool rowTicked(int row) const override;
    Text cellText(int row, int column) const override;
    void setCellText(int row, int column, const Text& text) override;
    void setCaption(Caption caption, const Text& text) override;
    void setTimerPeriod(int milliseconds) override;
    void setBatchCommandsEnabled(bool enabled) override;
    void showTimedMessage(const Text& text, const Text& caption, int milliseconds) override;

    // Test side.
    void setAddress(const Text& text);
    void setTranscode(bool ticked);
    void setPreprocess(bool ticked);
    void setFilter(bool enabled, const Text& rules);
    // One ticked row per title: "1", title, "待下载" (GBK).
    void fillRows(const TextArray& titles);
    void setRowTicked(int row, bool ticked);
    Text caption(Caption caption) const;
    int timerPeriod() const;
    bool batchCommandsEnabled() const;
    std::vector<Message> messages() const;

  private:
    mutable std::mutex m_mutex;
    Text m_address;
    bool m_transcode = false;
    bool m_preprocess = false;
    bool m_filterEnabled = false;
    Text m_filterRules;
    std::vector<Row> m_rows;
    std::map<Caption, Text> m_captions;
    int m_timerPeriod = 0;
    bool m_batchCommandsEnabled = true;
    std::vector<Message> m_messages;
};

} // namespace quill::testing

#include "memory_controls.h"

#include "core/codepage.h"
#include "core/text_rules.h"

namespace quill::testing {

Text MemoryControls::addressText() const {
    std::lock_guard lock(m_mutex);
    return m_address;
}

bool MemoryControls::transcodeTicked() const {
    std::lock_guard lock(m_mutex);
    return m_transcode;
}

bool MemoryControls::preprocessTicked() const {
    std::lock_guard lock(m_mutex);
    return m_preprocess;
}

bool MemoryControls::filterEnabled() const {
    std::lock_guard lock(m_mutex);
    return m_filterEnabled;
}

Text MemoryControls::filterRules() const {
    std::lock_guard lock(m_mutex);
    return m_filterRules;
}

int MemoryControls::rowCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_rows.size());
}

bool MemoryControls::rowTicked(int row) const {
    std::lock_guard lock(m_mutex);
    return row >= 0 && row < static_cast<int>(m_rows.size()) && m_rows[row].ticked;
}

Text MemoryControls::cellText(int row, int column) const {
    std::lock_guard lock(m_mutex);
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0 || column > 2) {
        return {};
    }
    return m_rows[row].cells[column];
}

void MemoryControls::setCellText(int row, int column, const Text& text) {
    std::lock_guard lock(m_mutex);
    if (row >= 0 && row < static_cast<int>(m_rows.size()) && column >= 0 && column <= 2) {
        m_rows[row].cells[column] = text;
    }
}

void MemoryControls::setCaption(Caption caption, const Text& text) {
    std::lock_guard lock(m_mutex);
    m_captions[caption] = text;
}

void MemoryControls::setTimerPeriod(int milliseconds) {
    std::lock_guard lock(m_mutex);
    m_timerPeriod = milliseconds;
}

void MemoryControls::setBatchCommandsEnabled(bool enabled) {
    std::lock_guard lock(m_mutex);
    m_batchCommandsEnabled = enabled;
}

void MemoryControls::showTimedMessage(const Text& text, const Text& caption, int milliseconds) {
    std::lock_guard lock(m_mutex);
    m_messages.push_back({text, caption, milliseconds});
}

void MemoryControls::setAddress(const Text& text) {
    std::lock_guard lock(m_mutex);
    m_address = text;
}

void MemoryControls::setTranscode(bool ticked) {
    std::lock_guard lock(m_mutex);
    m_transcode = ticked;
}

void MemoryControls::setPreprocess(bool ticked) {
    std::lock_guard lock(m_mutex);
    m_preprocess = ticked;
}

void MemoryControls::setFilter(bool enabled, const Text& rules) {
    std::lock_guard lock(m_mutex);
    m_filterEnabled = enabled;
    m_filterRules = rules;
}

void MemoryControls::fillRows(const TextArray& titles) {
    std::lock_guard lock(m_mutex);
    m_rows.clear();
    for (std::size_t i = 0; i < titles.size(); ++i) {
        m_rows.push_back(
            {true, {DecimalText(static_cast<long long>(i) + 1), titles[i], Gbk("待下载")}});
    }
}

void MemoryControls::setRowTicked(int row, bool ticked) {
    std::lock_guard lock(m_mutex);
    if (row >= 0 && row < static_cast<int>(m_rows.size())) {
        m_rows[row].ticked = ticked;
    }
}

Text MemoryControls::caption(Caption caption) const {
    std::lock_guard lock(m_mutex);
    auto found = m_captions.find(caption);
    return found == m_captions.end() ? Text() : found->second;
}

int MemoryControls::timerPeriod() const {
    std::lock_guard lock(m_mutex);
    return m_timerPeriod;
}

bool MemoryControls::batchCommandsEnabled() const {
    std::lock_guard lock(m_mutex);
    return m_batchCommandsEnabled;
}

std::vector<MemoryControls::Message> MemoryControls::messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

} // namespace quill::testing

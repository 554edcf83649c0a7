#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"

namespace quill::fuzz {

// Splits a fuzzer input into texts at 0x00 bytes, so one input feeds several arguments.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    Text next() {
        Text piece;
        while (m_offset < m_size && m_data[m_offset] != 0) {
            piece.push_back(static_cast<char>(m_data[m_offset++]));
        }
        if (m_offset < m_size) {
            ++m_offset;
        }
        return piece;
    }

  private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

} // namespace quill::fuzz

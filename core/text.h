#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quill {

// Byte text in code page 936 (GBK). It holds no zero bytes by convention.
using Text = std::string;

// A growable array of Text. The system numbers elements from 1; in C++ element i lives at [i - 1].
using TextArray = std::vector<Text>;

// A byte buffer that may hold zero bytes: a response body, a UTF-16 buffer.
using Bytes = std::vector<std::uint8_t>;

// The bytes before the first zero byte.
Text TextFromBytes(const Bytes& bytes);
Bytes BytesFromText(const Text& text);

} // namespace quill

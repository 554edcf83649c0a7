#include "text.h"

#include <algorithm>

namespace quill {

Text TextFromBytes(const Bytes& bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return Text(bytes.begin(), end);
}

Bytes BytesFromText(const Text& text) {
    return Bytes(text.begin(), text.end());
}

} // namespace quill

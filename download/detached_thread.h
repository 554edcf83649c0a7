#pragma once

#include <functional>

namespace quill {

// Runs `body` on a detached thread; false when the system cannot start one.
bool StartDetached(std::function<void()> body);

} // namespace quill

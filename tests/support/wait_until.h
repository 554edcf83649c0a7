#pragma once

#include <chrono>
#include <functional>

namespace quill::testing {

// Polls `done` every couple of milliseconds, running `step` between polls, until it holds or
// `bound` has passed. False when the bound ran out.
bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& step,
               std::chrono::milliseconds bound);

} // namespace quill::testing

#pragma once

#include <functional>

namespace quill {

// Runs `job` on a thread of its own and returns when it has ended. Meanwhile this thread keeps
// repainting the window and serving timers and queued writes, but holds user input back, so
// no command can start before the one that runs the job has finished.
void RunKeepingWindowPainted(const std::function<void()>& job);

} // namespace quill

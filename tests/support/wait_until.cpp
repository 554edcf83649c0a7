#include "wait_until.h"

#include <thread>

namespace quill::testing {

bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& step,
               std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (step) {
            step();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace quill::testing

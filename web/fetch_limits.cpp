#include <mutex>

#include "web/fetch_page.h"

namespace quill {
namespace {

struct GuardedLimits {
    std::mutex lock;
    FetchLimits limits;
};

GuardedLimits& Current() {
    // Never destroyed: detached download workers may still be fetching while the program ends.
    static GuardedLimits* const current = new GuardedLimits;
    return *current;
}

} // namespace

void SetFetchLimits(const FetchLimits& limits) {
    std::lock_guard<std::mutex> guard(Current().lock);
    Current().limits = limits;
}

FetchLimits CurrentFetchLimits() {
    std::lock_guard<std::mutex> guard(Current().lock);
    return Current().limits;
}

} // namespace quill

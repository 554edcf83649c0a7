#include "worker_places.h"

#include <condition_variable>
#include <mutex>

namespace quill {
namespace {

// Process-lifetime, so a worker that has just released its place never touches freed memory.
struct WorkerPlaces {
    std::mutex mutex;
    std::condition_variable freed;
};

WorkerPlaces& Places() {
    static WorkerPlaces places;
    return places;
}

} // namespace

void ReserveWorkerPlace(SharedState& state) {
    auto& places = Places();
    std::unique_lock lock(places.mutex);
    places.freed.wait(lock, [&state] { return state.WorkerCount.load() < kMaxWorkers; });
    ++state.WorkerCount;
}

void ReleaseWorkerPlace(SharedState& state) {
    auto& places = Places();
    {
        // Under the lock, so a scheduler between its test and its wait cannot miss the wake-up.
        std::lock_guard lock(places.mutex);
        --state.WorkerCount;
    }
    places.freed.notify_all();
}

} // namespace quill

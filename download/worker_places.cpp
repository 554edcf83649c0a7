#include "worker_places.h"

#include <condition_variable>
#include <mutex>

namespace quill {
namespace {

struct WorkerPlaces {
    std::mutex mutex;
    std::condition_variable freed;
};

// Never destroyed: a detached worker may still be waking the scheduler while the process exits.
WorkerPlaces& Places() {
    static auto* places = new WorkerPlaces;
    return *places;
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

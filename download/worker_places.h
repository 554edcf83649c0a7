#pragma once

#include "core/shared_state.h"

namespace quill {

// At most this many chapter workers run at once.
inline constexpr int kMaxWorkers = 6;

// Blocks until fewer than kMaxWorkers workers run, then raises WorkerCount for the worker about
// to start, so the count never lags behind a running worker.
void ReserveWorkerPlace(SharedState& state);
// Lowers WorkerCount and wakes a scheduler waiting for a place. After the decrement nothing of
// `state` is touched again, so its owner may go away as soon as the count reads 0.
void ReleaseWorkerPlace(SharedState& state);

} // namespace quill

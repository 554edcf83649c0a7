#include "window_job.h"

#include <thread>

#include <QEventLoop>

namespace quill {

void RunKeepingWindowPainted(const std::function<void()>& job) {
    QEventLoop loop;
    std::thread worker([&loop, &job] {
        job();
        // Queued, so a job that ends before the loop starts still ends it.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
}

} // namespace quill

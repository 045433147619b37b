#pragma once

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <utility>

namespace vexora {

// One worker thread that runs the jobs handed to it one after another, in the order they
// were handed over. Jobs are queued plainly rather than chained with QFuture::then, whose
// continuations on a thread pool can run twice in Qt 6.4 when the previous job ends while the
// next one is being chained. Going away waits for the jobs already queued.
class SerialWorker {
public:
    SerialWorker() {
        pool_.setMaxThreadCount(1);
        pool_.setExpiryTimeout(2000);  // an idle worker thread does not linger
    }
    ~SerialWorker() { pool_.waitForDone(); }
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    template <typename Job>
    auto run(Job&& job) {
        return QtConcurrent::run(&pool_, std::forward<Job>(job));
    }

private:
    QThreadPool pool_;
};

}  // namespace vexora

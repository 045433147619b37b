#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace vexora::cli {

// Ctrl+C as an event of the loop. The signal handler only writes a byte to a pipe that a
// QSocketNotifier watches: nothing of Qt may run inside a handler. A second Ctrl+C, when the
// first one's clean-up hangs, ends the process at once. One at a time.
class InterruptWatcher {
public:
    explicit InterruptWatcher(std::function<void()> onInterrupt);
    ~InterruptWatcher();  // the previous handler comes back
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    bool interrupted() const { return interrupted_; }

private:
    std::function<void()> onInterrupt_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool interrupted_ = false;
};

}  // namespace vexora::cli

#pragma once

#include <QCoroTask>
#include <chrono>
#include <coroutine>
#include <memory>
#include <stop_token>
#include <vector>

namespace vexora {

// A one-shot event any number of coroutines can await, each with its own stop token.
// Waiters always resume from the event loop, never inside `set()` or `request_stop()`,
// so whoever sets the event or stops a task is never re-entered by the woken coroutine.
class AsyncEvent {
public:
    AsyncEvent();
    AsyncEvent(const AsyncEvent&) = delete;
    AsyncEvent& operator=(const AsyncEvent&) = delete;

    void set();
    bool isSet() const;

    // Returns once the event is set; raises CancellationError when `stop` fires first.
    QCoro::Task<void> wait(std::stop_token stop = {});

    struct State;  // shared with the waiters, which may outlive the event

private:
    std::shared_ptr<State> state_;
};

// Waits `duration` on the event loop; raises CancellationError as soon as `stop` fires.
QCoro::Task<void> sleepFor(std::chrono::milliseconds duration, std::stop_token stop = {});

}  // namespace vexora

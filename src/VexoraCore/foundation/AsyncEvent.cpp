#include "foundation/AsyncEvent.h"

#include "foundation/FoundationErrors.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace vexora {

namespace {

struct Waiter {
    std::coroutine_handle<> handle;
    bool resumed = false;
};

void resumeLater(Waiter* waiter) {
    if (waiter->resumed) return;
    waiter->resumed = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [handle = waiter->handle] { handle.resume(); });
}

}  // namespace

struct AsyncEvent::State {
    bool isSet = false;
    std::vector<Waiter*> waiters;

    void remove(Waiter* waiter) { waiters.erase(std::remove(waiters.begin(), waiters.end(), waiter), waiters.end()); }
};

namespace {

// Suspends until the event is set or the stop token fires, whichever comes first.
class EventAwaiter {
public:
    EventAwaiter(std::shared_ptr<AsyncEvent::State> state, std::stop_token stop)
        : state_(std::move(state)), stop_(std::move(stop)) {}

    bool await_ready() const { return state_->isSet || stop_.stop_requested(); }

    void await_suspend(std::coroutine_handle<> handle) {
        waiter_->handle = handle;
        state_->waiters.push_back(waiter_.get());
        onStop_ = std::make_unique<StopCallback>(stop_, [state = state_.get(), waiter = waiter_.get()] {
            state->remove(waiter);
            resumeLater(waiter);
        });
    }

    void await_resume() {
        onStop_.reset();
        state_->remove(waiter_.get());
        if (!state_->isSet && stop_.stop_requested()) throw CancellationError();
    }

private:
    std::shared_ptr<AsyncEvent::State> state_;
    std::stop_token stop_;
    // On the heap, so the awaiter may be moved before it suspends.
    using StopCallback = std::stop_callback<std::function<void()>>;
    std::unique_ptr<Waiter> waiter_ = std::make_unique<Waiter>();
    std::unique_ptr<StopCallback> onStop_;
};

}  // namespace

AsyncEvent::AsyncEvent() : state_(std::make_shared<State>()) {}

void AsyncEvent::set() {
    if (state_->isSet) return;
    state_->isSet = true;
    auto waiters = std::move(state_->waiters);
    state_->waiters.clear();
    for (Waiter* waiter : waiters) resumeLater(waiter);
}

bool AsyncEvent::isSet() const { return state_->isSet; }

QCoro::Task<void> AsyncEvent::wait(std::stop_token stop) {
    // The awaiter holds the state: the event itself may go away meanwhile.
    co_await EventAwaiter(state_, std::move(stop));
}

QCoro::Task<void> sleepFor(std::chrono::milliseconds duration, std::stop_token stop) {
    AsyncEvent elapsed;
    QTimer timer;
    timer.setSingleShot(true);
    // A coarse timer may fire 5 % early: the render polls would drift off their 2 s rhythm.
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&elapsed] { elapsed.set(); });
    timer.start(duration);
    co_await elapsed.wait(std::move(stop));
}

}  // namespace vexora

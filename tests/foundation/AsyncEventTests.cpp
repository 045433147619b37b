#include "foundation/AsyncEvent.h"
#include "foundation/FoundationErrors.h"
#include "support/RunSync.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vexora;
using namespace vexora::test;

namespace {

QCoro::Task<int> waitAndCount(AsyncEvent& event, int* woken, std::stop_token stop = {}) {
    co_await event.wait(stop);
    co_return ++*woken;
}

}  // namespace

TEST(AsyncEvent, WakesEveryWaiterFromTheEventLoopStaysSetAndAStopWakesOnlyItsOwnWaiter) {
    AsyncEvent event;
    int woken = 0;
    std::stop_source stop;
    auto stopped = waitAndCount(event, &woken, stop.get_token());
    auto first = waitAndCount(event, &woken);
    auto second = waitAndCount(event, &woken);
    stop.request_stop();
    EXPECT_NE(failureOf(std::move(stopped)), nullptr);
    event.set();
    EXPECT_EQ(woken, 0) << "neither the stop nor set() runs the other waiters";
    runSync(std::move(first));
    runSync(std::move(second));
    EXPECT_EQ(woken, 2);
    EXPECT_EQ(runSync(waitAndCount(event, &woken)), 3) << "it stays set";

    std::stop_source already;
    already.request_stop();
    AsyncEvent never;
    expectFailure<CancellationError>(never.wait(already.get_token()));
}

TEST(AsyncEvent, SleepEndsEarlyWhenStopped) {
    QElapsedTimer clock;
    clock.start();
    runSync(sleepFor(std::chrono::milliseconds(30)));
    EXPECT_GE(clock.elapsed(), 25);

    std::stop_source stop;
    QTimer::singleShot(10, [&stop] { stop.request_stop(); });
    clock.restart();
    expectFailure<CancellationError>(sleepFor(std::chrono::seconds(30), stop.get_token()));
    EXPECT_LT(clock.elapsed(), 5000);
}

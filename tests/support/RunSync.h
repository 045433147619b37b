#pragma once

#include <QCoroTask>
#include <QEventLoop>
#include <exception>
#include <optional>
#include <type_traits>

namespace vexora::test {

namespace detail {

template <typename T>
struct Outcome {
    std::optional<std::conditional_t<std::is_void_v<T>, bool, T>> value;
    std::exception_ptr error;
    bool done = false;
};

template <typename T>
QCoro::Task<void> drive(QCoro::Task<T> task, Outcome<T>* outcome, QEventLoop* loop) {
    try {
        if constexpr (std::is_void_v<T>) co_await std::move(task);
        else outcome->value.emplace(co_await std::move(task));
    } catch (...) {
        outcome->error = std::current_exception();
    }
    outcome->done = true;
    loop->quit();
}

}  // namespace detail

// Runs the task on a nested event loop until it finishes; rethrows what it raised.
template <typename T>
T runSync(QCoro::Task<T> task) {
    QEventLoop loop;
    detail::Outcome<T> outcome;
    detail::drive(std::move(task), &outcome, &loop);
    if (!outcome.done) loop.exec();
    if (outcome.error) std::rethrow_exception(outcome.error);
    if constexpr (!std::is_void_v<T>) return std::move(*outcome.value);
}

// The exception a task raised, or null when it succeeded.
template <typename T>
std::exception_ptr failureOf(QCoro::Task<T> task) {
    try {
        runSync(std::move(task));
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

// The error of type E the task raised; fails the test when it raised nothing or something else.
template <typename E, typename T>
E expectFailure(QCoro::Task<T> task) {
    std::exception_ptr error = failureOf(std::move(task));
    if (!error) throw std::logic_error("expected the task to fail, but it succeeded");
    try {
        std::rethrow_exception(error);
    } catch (const E& expected) {
        return expected;
    }
}

}  // namespace vexora::test

#pragma once

#include <QCoroTask>
#include <QEventLoop>
#include <exception>
#include <optional>

namespace vexora::test {

namespace detail {

template <typename T>
QCoro::Task<void> drive(QCoro::Task<T> task, std::optional<T>* result, std::exception_ptr* error, bool* done,
                        QEventLoop* loop) {
    try {
        result->emplace(co_await std::move(task));
    } catch (...) {
        *error = std::current_exception();
    }
    *done = true;
    loop->quit();
}

inline QCoro::Task<void> driveVoid(QCoro::Task<void> task, std::exception_ptr* error, bool* done, QEventLoop* loop) {
    try {
        co_await std::move(task);
    } catch (...) {
        *error = std::current_exception();
    }
    *done = true;
    loop->quit();
}

}  // namespace detail

// Runs the task on a nested event loop until it finishes; rethrows what it raised.
template <typename T>
T runSync(QCoro::Task<T> task) {
    QEventLoop loop;
    std::optional<T> result;
    std::exception_ptr error;
    bool done = false;
    detail::drive(std::move(task), &result, &error, &done, &loop);
    if (!done) loop.exec();
    if (error) std::rethrow_exception(error);
    return std::move(*result);
}

inline void runSync(QCoro::Task<void> task) {
    QEventLoop loop;
    std::exception_ptr error;
    bool done = false;
    detail::driveVoid(std::move(task), &error, &done, &loop);
    if (!done) loop.exec();
    if (error) std::rethrow_exception(error);
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

#pragma once

#include <QCoroTask>
#include <chrono>
#include <stop_token>

namespace vexora {

// The workflow's only source of time: waits and deadlines go through here, so tests can run
// the real intervals (1.2 s polls, 2 s polls, a 600 s deadline) in no time.
class UGCClock {
public:
    virtual ~UGCClock() = default;
    virtual double now() const;  // seconds since the epoch
    virtual QCoro::Task<void> sleep(std::chrono::milliseconds duration, std::stop_token stop);
};

}  // namespace vexora

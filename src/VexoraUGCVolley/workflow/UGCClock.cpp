#include "workflow/UGCClock.h"

#include "foundation/AsyncEvent.h"
#include "foundation/UserSession.h"

namespace vexora {

double UGCClock::now() const { return currentEpochSeconds(); }

QCoro::Task<void> UGCClock::sleep(std::chrono::milliseconds duration, std::stop_token stop) {
    return sleepFor(duration, std::move(stop));
}

}  // namespace vexora

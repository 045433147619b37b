#include "config/UGCRuntimeConfiguration.h"

#include "config/UGCAppConfiguration.h"

namespace vexora {

UGCRuntimeConfiguration UGCRuntimeConfiguration::fromEnvironment() {
    return UGCRuntimeConfiguration{UGCAppConfiguration::stubMode(), UGCAppConfiguration::allowsLiveDebugAutogenerate(),
                                   UGCAppConfiguration::debugAutogenerateTopic(),
                                   UGCAppConfiguration::liveVideoPollTimeoutSeconds()};
}

}  // namespace vexora

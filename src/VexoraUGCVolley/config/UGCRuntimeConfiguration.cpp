#include "config/UGCRuntimeConfiguration.h"

#include "config/UGCAppConfiguration.h"

namespace vexora {

UGCRuntimeConfiguration UGCRuntimeConfiguration::fromEnvironment() {
    // Built once as the app starts: the moment to say why it will reach no service.
    if (const std::optional<QString> problem = UGCAppConfiguration::core().apiBaseURLProblem())
        qWarning("%s. No request is sent until it is fixed.", qUtf8Printable(*problem));
    return UGCRuntimeConfiguration{UGCAppConfiguration::stubMode(), UGCAppConfiguration::allowsLiveDebugAutogenerate(),
                                   UGCAppConfiguration::debugAutogenerateTopic(),
                                   UGCAppConfiguration::liveVideoPollTimeoutSeconds()};
}

}  // namespace vexora

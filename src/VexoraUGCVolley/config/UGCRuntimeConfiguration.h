#pragma once

#include <QString>
#include <optional>

namespace vexora {

// The development switches the workflow is built with, read once at start-up.
struct UGCRuntimeConfiguration {
    bool stubMode = false;
    bool allowsLiveDebugAutogenerate = false;
    std::optional<QString> debugAutogenerateTopic;
    double liveVideoPollTimeoutSeconds = 600;

    bool operator==(const UGCRuntimeConfiguration&) const = default;

    // Warns (qWarning) when VEXORA_API_BASE_URL is set but unusable.
    static UGCRuntimeConfiguration fromEnvironment();
};

}  // namespace vexora

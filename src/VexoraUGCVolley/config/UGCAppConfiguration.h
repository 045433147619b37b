#pragma once

#include "foundation/CoreAppConfiguration.h"

#include <optional>

namespace vexora {

// The application's one configuration and its development switches, read from the
// environment on every call.
namespace UGCAppConfiguration {

const CoreAppConfiguration& core();

bool debugShowPanelOnLaunch();
bool stubMode();
bool allowsLiveDebugAutogenerate();
std::optional<QString> debugAutogenerateTopic();
double liveVideoPollTimeoutSeconds();

inline constexpr double defaultLiveVideoPollTimeoutSeconds = 600;

// The whole text as a finite decimal number in the POSIX locale; none for anything else.
std::optional<double> parsePOSIXDecimal(const QByteArray& text);

}  // namespace UGCAppConfiguration

}  // namespace vexora

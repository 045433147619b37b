#include "config/UGCAppConfiguration.h"

#include "foundation/BundleInfo.h"

#include <charconv>
#include <cmath>

namespace vexora::UGCAppConfiguration {

namespace {

bool isExactlyOne(const char* name) { return qgetenv(name) == "1"; }

}  // namespace

const CoreAppConfiguration& core() {
    static const CoreAppConfiguration configuration{
        .appName = QStringLiteral("VexoraUGCVolley"),
        .displayName = QStringLiteral("Vexora UGC Volley"),
        .productionBundleIdentifier = QStringLiteral("com.vexora.ugcvolley"),
        .developmentBundleIdentifier = QStringLiteral("com.vexora.ugcvolley.qa"),
        .statusItemLength = 30,
        .statusItemAutosaveName = std::nullopt,
        .statusIconAssetName = QStringLiteral("ugc-volley-status"),
        .statusIconSystemName = std::nullopt,
        .notificationSuccessIdentifier = QStringLiteral("vexora.ugc.ready"),
        .notificationErrorIdentifier = QStringLiteral("vexora.ugc.failed"),
        .stateFileName = QStringLiteral("ugc-volley-state.json"),
        .panelWidth = 440,
        .authPanelSize = QSizeF(440, 510),
        .workspacePanelSize = QSizeF(480, 820),
        .nativeAuthPollIntervalNanoseconds = 1'200'000'000,
        .nativeAuthTimeoutSeconds = 300,
        .requestRetryStatuses = {502, 503, 504},
        .defaultAppcastURL = builtInDownloadHost() + QStringLiteral("/macos/ugc-volley/appcast.xml"),
        .defaultSparkleKeyAccount = QStringLiteral("vexora-ugc-volley"),
        .clientHeader = QStringLiteral("macos-ugc-volley"),
    };
    return configuration;
}

bool debugShowPanelOnLaunch() { return isExactlyOne("VEXORA_DEBUG_SHOW_PANEL_ON_LAUNCH"); }

bool stubMode() { return isExactlyOne("VEXORA_UGC_STUB_MODE"); }

bool allowsLiveDebugAutogenerate() { return isExactlyOne("VEXORA_UGC_DEBUG_ALLOW_LIVE_AUTOGENERATE"); }

std::optional<QString> debugAutogenerateTopic() { return trimmedEnvironmentValue("VEXORA_UGC_DEBUG_AUTOGENERATE_TOPIC"); }

std::optional<double> parsePOSIXDecimal(const QByteArray& text) {
    const char* begin = text.constData();
    const char* end = begin + text.size();
    // from_chars takes no leading '+', which a decimal number may carry.
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-' && begin[1] != '+') ++begin;
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
    // NaN or infinity would make a deadline that never comes.
    if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

double liveVideoPollTimeoutSeconds() {
    return parsePOSIXDecimal(qgetenv("VEXORA_UGC_VIDEO_POLL_TIMEOUT_SECONDS")).value_or(defaultLiveVideoPollTimeoutSeconds);
}

}  // namespace vexora::UGCAppConfiguration

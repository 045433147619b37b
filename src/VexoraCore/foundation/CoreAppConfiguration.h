#pragma once

#include <QSizeF>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <optional>
#include <set>

namespace vexora {

// The application's fixed settings. Derived values read the environment and the running
// bundle afresh on every call, so a changed environment is seen by the next call.
struct CoreAppConfiguration {
    QString appName;
    QString displayName;
    QString productionBundleIdentifier;
    QString developmentBundleIdentifier;
    double statusItemLength = 0;
    std::optional<QString> statusItemAutosaveName;
    std::optional<QString> statusIconAssetName;
    std::optional<QString> statusIconSystemName;
    QString notificationSuccessIdentifier;
    QString notificationErrorIdentifier;
    QString stateFileName;
    double panelWidth = 0;
    QSizeF authPanelSize;
    QSizeF workspacePanelSize;
    std::uint64_t nativeAuthPollIntervalNanoseconds = 0;
    double nativeAuthTimeoutSeconds = 0;
    std::set<int> requestRetryStatuses;
    QString defaultAppcastURL;
    QString defaultSparkleKeyAccount;
    QString clientHeader;

    bool operator==(const CoreAppConfiguration&) const = default;

    // VEXORA_API_BASE_URL when set (not empty), else the built-in web origin. A set value that is not
    // an absolute URL gives an empty URL, which no request can leave for: whoever set it meant
    // another service than the production one, so neither requests nor a password may go there.
    QUrl apiBaseURL() const;
    // One line naming VEXORA_API_BASE_URL when its value is unusable; none otherwise.
    std::optional<QString> apiBaseURLProblem() const;
    QString bundleIdentifier() const;
    bool isProductionBundle() const;
    bool supportsUpdater() const;
    QString resolvedStatusItemAutosaveName() const;
    QString appStateDirectoryName() const;
    QString appcastURL() const;
    QString sparkleKeyAccount() const;
};

size_t qHash(const CoreAppConfiguration& configuration, size_t seed = 0);

// The environment variable trimmed of white space and newlines, or none when that leaves nothing.
std::optional<QString> trimmedEnvironmentValue(const char* name);

}  // namespace vexora

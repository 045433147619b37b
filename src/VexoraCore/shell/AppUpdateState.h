#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace vexora {

enum class AppUpdateStatus { idle, checking, updateAvailable, upToDate, error };

// The self-update service's state, mirrored by the workflow for the panel.
struct AppUpdateState {
    AppUpdateStatus status = AppUpdateStatus::idle;
    QString currentVersion;
    std::optional<QString> availableVersion;
    std::optional<QString> feedURL;
    std::optional<QString> releaseNotesURL;
    std::optional<QDateTime> lastCheckedAt;
    bool canCheckForUpdates = false;
    std::optional<QString> errorMessage;

    bool operator==(const AppUpdateState&) const = default;
};

// The menu title of the update action for this state.
inline QString actionTitle(const AppUpdateState& state) {
    switch (state.status) {
    case AppUpdateStatus::updateAvailable:
        if (state.availableVersion && !state.availableVersion->isEmpty())
            return QStringLiteral("Install ") + *state.availableVersion;
        return QStringLiteral("Install Update");
    case AppUpdateStatus::checking: return QStringLiteral("Checking for Updates...");
    case AppUpdateStatus::idle:
    case AppUpdateStatus::upToDate:
    case AppUpdateStatus::error: break;
    }
    return QStringLiteral("Check for Updates...");
}

}  // namespace vexora

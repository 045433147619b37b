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

}  // namespace vexora

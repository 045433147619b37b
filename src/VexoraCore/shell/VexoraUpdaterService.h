#pragma once

#include "foundation/CoreAppConfiguration.h"
#include "shell/AppUpdateState.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace vexora {

class AppcastUpdater;
struct AppcastItem;

// Runs the self-updater in the production build and mirrors it into an AppUpdateState that
// lives elsewhere (read and written through the two functions).
class VexoraUpdaterService : public QObject {
    Q_OBJECT
public:
    using UpdaterFactory = std::function<std::unique_ptr<AppcastUpdater>(const QUrl& feedURL, const QString& currentVersion)>;

    // Without a factory the updater fetches the feed through `network` and shows dialogs.
    VexoraUpdaterService(CoreAppConfiguration configuration, std::function<AppUpdateState()> getState,
                         std::function<void(AppUpdateState)> setState, QNetworkAccessManager& network,
                         UpdaterFactory makeUpdater = {}, QObject* parent = nullptr);
    ~VexoraUpdaterService() override;

    bool isProductionBuild() const;
    // The running bundle's short version, "1.0.0" when it has none.
    static QString currentVersion();
    QString feedURL() const;

    void start();
    void checkForUpdates();

    // None until start() has run in the production build.
    AppcastUpdater* updater() const { return updater_.get(); }

private:
    void syncState(AppUpdateStatus status, std::optional<QString> availableVersion,
                   std::optional<QString> releaseNotesURL, std::optional<QString> errorMessage);
    void updaterCanCheckChanged(bool canCheck);
    void updaterFoundUpdate(const AppcastItem& item);
    void updaterFoundNoUpdate();
    void updaterFailed(const QString& description);

    CoreAppConfiguration configuration_;
    std::function<AppUpdateState()> getState_;
    std::function<void(AppUpdateState)> setState_;
    QNetworkAccessManager* network_;
    UpdaterFactory makeUpdater_;
    std::unique_ptr<AppcastUpdater> updater_;
};

}  // namespace vexora

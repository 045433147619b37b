#include "shell/VexoraUpdaterService.h"

#include "foundation/BundleInfo.h"
#include "shell/AppcastUpdater.h"

#include <QDateTime>

namespace vexora {

VexoraUpdaterService::VexoraUpdaterService(CoreAppConfiguration configuration, std::function<AppUpdateState()> getState,
                                           std::function<void(AppUpdateState)> setState, QNetworkAccessManager& network,
                                           UpdaterFactory makeUpdater, QObject* parent)
    : QObject(parent),
      configuration_(std::move(configuration)),
      getState_(std::move(getState)),
      setState_(std::move(setState)),
      network_(&network),
      makeUpdater_(std::move(makeUpdater)) {}

// The updater goes first, while the connections to this service can still be torn down cleanly.
VexoraUpdaterService::~VexoraUpdaterService() { updater_.reset(); }

bool VexoraUpdaterService::isProductionBuild() const { return configuration_.isProductionBundle(); }

QString VexoraUpdaterService::currentVersion() {
    const QString version = BundleInfo::main().shortVersion;
    return version.isEmpty() ? QStringLiteral("1.0.0") : version;
}

QString VexoraUpdaterService::feedURL() const { return BundleInfo::main().feedURL.value_or(configuration_.appcastURL()); }

void VexoraUpdaterService::syncState(AppUpdateStatus status, std::optional<QString> availableVersion,
                                     std::optional<QString> releaseNotesURL, std::optional<QString> errorMessage) {
    AppUpdateState state = getState_();
    state.status = status;
    state.currentVersion = currentVersion();
    state.availableVersion = std::move(availableVersion);
    state.releaseNotesURL = std::move(releaseNotesURL);
    state.errorMessage = std::move(errorMessage);
    state.feedURL = feedURL();
    state.lastCheckedAt = QDateTime::currentDateTimeUtc();
    state.canCheckForUpdates = updater_ && updater_->canCheckForUpdates();
    setState_(std::move(state));
}

void VexoraUpdaterService::start() {
    if (!isProductionBuild()) {
        AppUpdateState state;
        state.status = AppUpdateStatus::idle;
        state.currentVersion = currentVersion();
        state.canCheckForUpdates = false;
        state.errorMessage = QStringLiteral("Updates are available only in the production build.");
        setState_(std::move(state));
        return;
    }
    if (!updater_) {
        const QUrl feed(feedURL());
        const QString version = currentVersion();
        updater_ = makeUpdater_ ? makeUpdater_(feed, version) : std::make_unique<AppcastUpdater>(feed, version, *network_);
        connect(updater_.get(), &AppcastUpdater::foundValidUpdate, this, &VexoraUpdaterService::updaterFoundUpdate);
        connect(updater_.get(), &AppcastUpdater::didNotFindUpdate, this, &VexoraUpdaterService::updaterFoundNoUpdate);
        connect(updater_.get(), &AppcastUpdater::abortedWithError, this, &VexoraUpdaterService::updaterFailed);
    }
    if (const std::optional<QString> failure = updater_->start()) {
        syncState(AppUpdateStatus::error, std::nullopt, std::nullopt, *failure);
        return;
    }
    // Unique: a second start() must not mirror each change twice.
    connect(updater_.get(), &AppcastUpdater::canCheckForUpdatesChanged, this,
            &VexoraUpdaterService::updaterCanCheckChanged, Qt::UniqueConnection);
    updaterCanCheckChanged(updater_->canCheckForUpdates());
    syncState(AppUpdateStatus::idle, std::nullopt, std::nullopt, std::nullopt);
    if (updater_->automaticallyChecksForUpdates()) updater_->checkForUpdates(false);
}

void VexoraUpdaterService::checkForUpdates() {
    // Before start() there is nothing to ask, and "checking" would never end.
    if (!isProductionBuild() || !updater_) return;
    const AppUpdateState current = getState_();
    syncState(AppUpdateStatus::checking, current.availableVersion, current.releaseNotesURL, std::nullopt);
    updater_->checkForUpdates(true);
}

void VexoraUpdaterService::updaterCanCheckChanged(bool canCheck) {
    AppUpdateState state = getState_();
    state.canCheckForUpdates = canCheck;
    setState_(std::move(state));
}

void VexoraUpdaterService::updaterFoundUpdate(const AppcastItem& item) {
    std::optional<QString> notes;
    if (item.releaseNotesURL) notes = item.releaseNotesURL->toString(QUrl::FullyEncoded);
    syncState(AppUpdateStatus::updateAvailable, item.shownVersion(), notes, std::nullopt);
}

void VexoraUpdaterService::updaterFoundNoUpdate() {
    syncState(AppUpdateStatus::upToDate, std::nullopt, std::nullopt, std::nullopt);
}

void VexoraUpdaterService::updaterFailed(const QString& description) {
    const AppUpdateState current = getState_();
    syncState(AppUpdateStatus::error, current.availableVersion, current.releaseNotesURL, description);
}

}  // namespace vexora

#include "workflow/UGCAppState.h"

#include "config/UGCAppConfiguration.h"
#include "foundation/BundleInfo.h"
#include "foundation/ErrorText.h"
#include "workflow/UGCWorkspacePreferencesStore.h"

namespace vexora {

UGCAppState::UGCAppState(UGCRuntimeConfiguration runtimeConfiguration, QNetworkAccessManager& network,
                         BrowserURLOpener browserURLOpener, std::unique_ptr<UGCClock> clock,
                         std::unique_ptr<UGCWorkspacePreferencesStore> preferencesStore, QObject* parent)
    : QObject(parent),
      network_(&network),
      runtimeConfiguration_(std::move(runtimeConfiguration)),
      browserURLOpener_(std::move(browserURLOpener)),
      clock_(std::move(clock)) {
    const CoreAppConfiguration& core = UGCAppConfiguration::core();
    const BundleInfo bundle = BundleInfo::main();
    isBootstrapping_ = true;
    language_ = QStringLiteral("en");
    selectedDuration_ = UGCDuration::five;
    avatarGender_ = QStringLiteral("female");
    avatarOrigin_ = QStringLiteral("european");
    avatarAgeRange_ = QStringLiteral("26-35");
    avatarType_ = QStringLiteral("tech_founder");
    avatarLocation_ = QStringLiteral("coffee_shop");
    avatarAutoMode_ = true;
    schedulesFeatureEnabled_ = true;
    appUpdateState_.currentVersion = bundle.shortVersion.isEmpty() ? QStringLiteral("1.0.0") : bundle.shortVersion;
    appUpdateState_.feedURL = bundle.feedURL.value_or(core.appcastURL());

    authManager_ = std::make_unique<AuthManager>(core, network);
    // The transport reads the vault; a refresh goes through the auth service and lands in the vault.
    transport_ = std::make_unique<HTTPTransport>(
        core, [this] { return sessionVault_.storedSession(); },
        [this](UserSession expiring) -> QCoro::Task<UserSession> {
            return [](QPointer<UGCAppState> self, UserSession session) -> QCoro::Task<UserSession> {
                UserSession fresh = co_await self->authManager_->refreshSession(std::move(session));
                if (self) self->sessionVault_.replace(fresh);
                co_return fresh;
            }(this, std::move(expiring));
        },
        network);
    preferencesStore_ = preferencesStore ? std::move(preferencesStore) : std::make_unique<UGCWorkspacePreferencesStore>();
    apiClient_ = std::make_unique<UGCAPIClient>(*transport_);
    pipelineTask_.onHeldChange = publishTask_.onHeldChange = [this] { emit runActivityChanged(); };
}

UGCAppState::~UGCAppState() {
    pipelineTask_.onHeldChange = publishTask_.onHeldChange = nullptr;
    for (UGCTaskSlot* slot : {&browserAuthTask_, &contextTask_, &suggestionTask_, &pipelineTask_, &publishTask_}) slot->cancel();
}

bool UGCAppState::openInBrowser(const QUrl& url) {
    if (!validatedRemoteURLString(url.toString(QUrl::FullyEncoded))) return false;
    browserURLOpener_(url);
    return true;
}

void UGCAppState::setErrorMessage(const OptionalString& value) {
    contextErrorCover_.reset();  // any other error, or none, is no longer a context load's
    writeErrorMessage(value);
}

void UGCAppState::writeErrorMessage(const OptionalString& value) {
    if (errorMessage_ != value) {
        errorMessage_ = value;
        emit errorMessageChanged();
    }
    persistWorkspacePreferences();
    announceErrorIfNeeded(errorMessage_);
}

void UGCAppState::stepDidChange() {
    recomputeStatusIconState();
    persistWorkspacePreferences();
    if (step_ == UGCStep::error)
        announceErrorIfNeeded(errorMessage_ ? errorMessage_ : QStringLiteral("UGC workflow needs attention."));
}

void UGCAppState::updateAuthState(const std::function<void(AuthState&)>& change) {
    AuthState next = authState_;
    change(next);
    setAuthState(next);
}

void UGCAppState::recomputeStatusIconState() {
    const StatusIconState mapped = vexora::statusIconState(step_);
    setStatusIconState(mapped);
    if (onStatusIconStateChange) onStatusIconStateChange(mapped);
}

void UGCAppState::announceErrorIfNeeded(const OptionalString& message) {
    // Once cleared, the same error coming back is news again.
    if (!message) return lastAnnouncedErrorMessage_.reset();
    const QString trimmed = message->trimmed();
    if (trimmed.isEmpty() || trimmed == lastAnnouncedErrorMessage_) return;
    lastAnnouncedErrorMessage_ = trimmed;
    if (onErrorAnnouncementRequested) onErrorAnnouncementRequested(trimmed);
}

QSizeF UGCAppState::preferredPanelSize() const {
    const CoreAppConfiguration& core = UGCAppConfiguration::core();
    return authState_.status == AuthStatus::authenticated ? core.workspacePanelSize : core.authPanelSize;
}

void UGCAppState::notifyPreferredPanelSizeDidChange() {
    if (onPreferredPanelSizeChange) onPreferredPanelSizeChange(preferredPanelSize());
}

bool UGCAppState::canGenerate() const {
    return authState_.tenantID.has_value() && !topic_.trimmed().isEmpty() && !pipelineTask_.isHeld();
}

int UGCAppState::estimatedCredits() const { return reusedAvatarURL_ && !reusedAvatarURL_->isEmpty() ? 131 : 134; }

bool UGCAppState::isCancellationLike(const std::exception_ptr& error) { return vexora::isCancellationLike(error); }

}  // namespace vexora

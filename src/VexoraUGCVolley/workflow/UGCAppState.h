#pragma once

#include "auth/AuthManager.h"
#include "auth/AuthRecords.h"
#include "client/UGCAPIClient.h"
#include "config/UGCRuntimeConfiguration.h"
#include "foundation/HTTPTransport.h"
#include "shell/AppUpdateState.h"
#include "shell/StatusIconState.h"
#include "workflow/UGCClock.h"
#include "workflow/UGCObserved.h"
#include "workflow/UGCSessionVault.h"
#include "workflow/UGCStep.h"
#include "workflow/UGCTaskSlot.h"
#include "workflow/UGCWorkspacePreferences.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSizeF>
#include <QUrl>
#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace vexora {

using OptionalString = std::optional<QString>;
using OptionalSuggestion = std::optional<Suggestion>;
using AccountSelection = QMap<QString, QString>;  // platform key -> connection id
using IDSet = QSet<QString>;

inline IDSet withID(IDSet set, const QString& id) {
    set.insert(id);
    return set;
}
inline IDSet withoutID(IDSet set, const QString& id) {
    set.remove(id);
    return set;
}

class UGCWorkspacePreferencesStore;

// The one observable workflow object: everything the panel shows and every action it starts.
// Lives on the GUI thread; its slices are split over one source file each.
class UGCAppState : public QObject {
    Q_OBJECT

    // Authentication and shell
    UGC_OBSERVED(AuthState, authState, AuthState, noHook)
    UGC_OBSERVED(bool, isPanelPresented, IsPanelPresented, noHook)
    UGC_OBSERVED(StatusIconState, statusIconState, StatusIconState, noHook)
    UGC_OBSERVED(bool, isBootstrapping, IsBootstrapping, noHook)
    UGC_OBSERVED(bool, isSigningIn, IsSigningIn, noHook)
    UGC_OBSERVED(bool, isBrowserAuthInProgress, IsBrowserAuthInProgress, noHook)
    UGC_OBSERVED(OptionalString, browserAuthStatusMessage, BrowserAuthStatusMessage, noHook)
    UGC_OBSERVED(QString, signInEmail, SignInEmail, noHook)
    UGC_OBSERVED(QString, signInPassword, SignInPassword, noHook)
    UGC_OBSERVED(OptionalString, authErrorMessage, AuthErrorMessage, noHook)
    UGC_OBSERVED(AppUpdateState, appUpdateState, AppUpdateState, noHook)

    // Generation form
    UGC_OBSERVED(QString, topic, Topic, topicDidChange)
    UGC_OBSERVED(QString, language, Language, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, selectedFavoriteID, SelectedFavoriteID, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, selectedProductID, SelectedProductID, persistWorkspacePreferences)
    UGC_OBSERVED(UGCDuration, selectedDuration, SelectedDuration, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, reusedAvatarURL, ReusedAvatarURL, persistWorkspacePreferences)
    UGC_OBSERVED(QString, avatarGender, AvatarGender, persistWorkspacePreferences)
    UGC_OBSERVED(QString, avatarOrigin, AvatarOrigin, persistWorkspacePreferences)
    UGC_OBSERVED(QString, avatarAgeRange, AvatarAgeRange, persistWorkspacePreferences)
    UGC_OBSERVED(QString, avatarType, AvatarType, persistWorkspacePreferences)
    UGC_OBSERVED(QString, avatarLocation, AvatarLocation, persistWorkspacePreferences)
    UGC_OBSERVED(bool, avatarAutoMode, AvatarAutoMode, persistWorkspacePreferences)
    UGC_OBSERVED(bool, autoPublish, AutoPublish, persistWorkspacePreferences)

    // Workspace context
    UGC_OBSERVED(QList<FavoriteOption>, favorites, Favorites, noHook)
    UGC_OBSERVED(QList<DashboardProduct>, products, Products, noHook)
    UGC_OBSERVED(QList<ConnectedSocialAccount>, socialAccounts, SocialAccounts, noHook)
    UGC_OBSERVED(AccountSelection, selectedPublishAccountIDs, SelectedPublishAccountIDs, persistWorkspacePreferences)
    UGC_OBSERVED(ConnectionLocks, connectionLocks, ConnectionLocks, noHook)
    UGC_OBSERVED(QList<UGCHistoryItem>, history, History, noHook)
    UGC_OBSERVED(OptionalString, historyNextCursor, HistoryNextCursor, noHook)
    UGC_OBSERVED(bool, historyHasMore, HistoryHasMore, noHook)
    UGC_OBSERVED(bool, schedulesFeatureEnabled, SchedulesFeatureEnabled, noHook)
    UGC_OBSERVED(QList<UGCSchedule>, schedules, Schedules, noHook)
    UGC_OBSERVED(ScheduleDraft, scheduleDraft, ScheduleDraft, persistWorkspacePreferences)
    UGC_OBSERVED(QList<AvatarListItem>, avatars, Avatars, noHook)
    UGC_OBSERVED(OptionalString, avatarsNextCursor, AvatarsNextCursor, noHook)
    UGC_OBSERVED(bool, avatarsHasMore, AvatarsHasMore, noHook)

    // Activity flags and panel toggles
    UGC_OBSERVED(UGCStep, step, Step, stepDidChange)
    UGC_OBSERVED(bool, isContextLoading, IsContextLoading, noHook)
    UGC_OBSERVED(bool, isSuggesting, IsSuggesting, noHook)
    UGC_OBSERVED(bool, isAvatarsLoading, IsAvatarsLoading, noHook)
    UGC_OBSERVED(bool, isGeneratingAvatar, IsGeneratingAvatar, noHook)
    UGC_OBSERVED(bool, isDownloadingVideo, IsDownloadingVideo, noHook)
    UGC_OBSERVED(bool, isHistoryLoading, IsHistoryLoading, noHook)
    UGC_OBSERVED(IDSet, deletingAvatarIDs, DeletingAvatarIDs, noHook)
    UGC_OBSERVED(IDSet, mutatingScheduleIDs, MutatingScheduleIDs, noHook)
    UGC_OBSERVED(bool, isHistoryExpanded, IsHistoryExpanded, persistWorkspacePreferences)
    UGC_OBSERVED(bool, isSchedulesExpanded, IsSchedulesExpanded, persistWorkspacePreferences)
    UGC_OBSERVED(bool, isEmptyHistoryDismissed, IsEmptyHistoryDismissed, persistWorkspacePreferences)

    // Suggestions and the run's output
    UGC_OBSERVED(QList<Suggestion>, suggestions, Suggestions, noHook)
    UGC_OBSERVED(OptionalSuggestion, selectedSuggestion, SelectedSuggestion, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, script, Script, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, title, Title, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, dbID, DbID, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, generationID, GenerationID, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, avatarURL, AvatarURL, persistWorkspacePreferences)
    UGC_OBSERVED(OptionalString, videoURL, VideoURL, persistWorkspacePreferences)
    UGC_OBSERVED(QList<PublishResult>, publishResults, PublishResults, persistWorkspacePreferences)

    // Every write counts here, not only a change: it saves and may announce.
    Q_PROPERTY(OptionalString errorMessage READ errorMessage WRITE setErrorMessage NOTIFY errorMessageChanged)
    // A run or a publish is under way; Generate and Publish are gated on it.
    Q_PROPERTY(bool isRunActive READ isRunActive NOTIFY runActivityChanged)

public:
    using BrowserURLOpener = std::function<void(const QUrl&)>;

    // Asks the user where to save; answers with the chosen path, or none when cancelled.
    using SaveLocationChooser =
        std::function<void(const QString& defaultFileName, std::function<void(const std::optional<QString>&)> chosen)>;
    // Forgets a cached avatar image in every tier.
    using AvatarImageRemover = std::function<QCoro::Task<void>(QString urlString)>;

    // Without a store the application's own settings keep the workspace preferences.
    UGCAppState(UGCRuntimeConfiguration runtimeConfiguration, QNetworkAccessManager& network,
                BrowserURLOpener browserURLOpener, std::unique_ptr<UGCClock> clock = std::make_unique<UGCClock>(),
                std::unique_ptr<UGCWorkspacePreferencesStore> preferencesStore = nullptr, QObject* parent = nullptr);
    ~UGCAppState() override;

    const OptionalString& errorMessage() const { return errorMessage_; }
    void setErrorMessage(const OptionalString& value);
    Q_SIGNAL void errorMessageChanged();
    bool isRunActive() const { return pipelineTask_.isHeld() || publishTask_.isHeld(); }
    Q_SIGNAL void runActivityChanged();

    // Shell callbacks, installed by the application entry.
    std::function<void(StatusIconState)> onStatusIconStateChange;
    std::function<void()> onPanelRequested;
    std::function<void(QSizeF)> onPreferredPanelSizeChange;
    std::function<void(AppUpdateState)> onUpdateStateChange;
    std::function<void()> onCheckForUpdatesRequested;
    std::function<void(QString)> onErrorAnnouncementRequested;
    // Installed by the front end: the panel's save dialog, the command line's --output path.
    SaveLocationChooser saveLocationChooser;
    // Installed by the front end that shows avatar images.
    AvatarImageRemover avatarImageRemover;

    // Start-up and workspace context
    void bootstrap();
    void fetchContext();
    void applyContextBundle(const UGCContextBundle& bundle);
    void cancelTenantScopedWork();
    void clearTenantState();
    void recomputeStatusIconState();
    void announceErrorIfNeeded(const OptionalString& message);
    // The workspace size while signed in, the sign-in size otherwise.
    QSizeF preferredPanelSize() const;
    void notifyPreferredPanelSizeDidChange();
    bool canGenerate() const;
    int estimatedCredits() const;
    static bool isCancellationLike(const std::exception_ptr& error);

    // Sign-in flows
    void signIn();
    void startBrowserAuth(NativeAuthFlowMode mode, std::optional<NativeAuthProvider> provider);
    void finishBrowserAuthFlow(const QUuid& flowID, OptionalString statusMessage, OptionalString errorMessage);
    QCoro::Task<void> applyAuthenticatedSession(UserSession session);
    QCoro::Task<void> refreshAuthenticatedContext();
    void signOut();

    // Topic suggestions
    void suggest(bool fromKnowledge);
    void selectedFavoriteDidChange();

    // Generation pipeline
    void generate();
    void clearPipelineOutput(bool keepForm);
    void resetPipeline();
    void generateAnother();

    // Publishing
    QList<ConnectedSocialAccount> accounts(UGCPlatform platform) const;
    OptionalString selectedPublishAccountID(UGCPlatform platform) const;
    void setSelectedPublishAccountID(const OptionalString& accountID, UGCPlatform platform);
    void normalizeSelectedPublishAccounts();
    std::optional<PublishTarget> selectedPublishTarget(UGCPlatform platform) const;
    QList<PublishTarget> publishTargets(bool failedOnly) const;
    QList<PublishTarget> failedPublishTargets() const;
    std::optional<PublishTarget> failedPublishTarget(UGCPlatform platform, const QString& accountID,
                                                     const QString& publishPlatform) const;
    bool canPublishCurrent() const;
    void publishCurrent(bool failedOnly);
    void mergePublishResults(const QList<PublishResult>& results);

    // Avatar library
    void fetchAvatars(bool reset);
    void generateStandaloneAvatar();
    void deleteAvatar(const AvatarListItem& item);
    void selectAvatar(const AvatarListItem& item);
    void clearSelectedAvatar();
    AvatarTraits avatarTraitsForRequest() const;

    // History and schedules
    void loadMoreHistory();
    void prefillFromHistory(const UGCHistoryItem& item);
    void setScheduleRunsPerDay(int runsPerDay);
    void createSchedule();
    void toggleSchedule(const UGCSchedule& schedule);
    void deleteSchedule(const UGCSchedule& schedule);

    // Workspace preferences
    void persistWorkspacePreferences();
    void restoreWorkspacePreferencesIfAvailable();
    UGCWorkspacePreferences makeWorkspacePreferences() const;
    std::optional<UGCPendingGenerationSnapshot> makePendingGenerationSnapshot() const;
    void restoreGenerationSnapshot(const UGCPendingGenerationSnapshot& snapshot);
    OptionalString validatedFavoriteID(const OptionalString& id) const;
    OptionalString validatedProductID(const OptionalString& id) const;
    ScheduleDraft sanitizedScheduleDraft(const ScheduleDraft& draft) const;

    // Video download
    void downloadVideo();
    void presentVideoDownload(const QUrl& remoteURL, const QString& defaultFileName);
    // Never leaves a partial file under `destination`: an earlier file stays until the new one replaces it.
    static QCoro::Task<void> downloadVideoFile(QNetworkAccessManager& network, QUrl remote, QString destination);

    // Hands a page to the browser; anything but an http(s) URL with a host is refused.
    bool openInBrowser(const QUrl& url);

    UGCClock& clock() { return *clock_; }
    UGCAPIClient& apiClient() { return *apiClient_; }
    AuthManager& authManager() { return *authManager_; }
    UGCSessionVault& sessionVault() { return sessionVault_; }
    bool isPipelineRunning() const { return pipelineTask_.isHeld(); }

private:
    // What a publish started with; its reply counts only while all of it still holds.
    struct PublishJob {
        PublishRequest request;
        std::optional<QUuid> runID;
        OptionalString generationID;
        QUuid publishID;
        bool failedOnly = false;
    };

    enum class ScheduleMutation { toggle, remove };

    // The run's step and error that a failed context load's error stands over: the stored record
    // keeps them, and the next good load brings them back.
    struct ContextErrorCover {
        UGCStep step = UGCStep::idle;
        OptionalString errorMessage;
    };

    void noHook() {}
    void stepDidChange();
    void writeErrorMessage(const OptionalString& value);
    void showContextLoadError(const QString& text);
    // Stored choices of accounts that are still offered on an unlocked platform.
    void restorePublishAccountChoices(const AccountSelection& stored);
    void topicDidChange();
    void syncScheduleDraftFavorite();
    bool isPublishStillWanted(const PublishJob& job) const;
    void appendAvatarPage(const AvatarListResponse& page, bool reset);
    void useAvatar(const QString& avatarURL);
    void setScheduleDraftAvatar(const QString& avatarURL);
    void mutateSchedule(const UGCSchedule& schedule, ScheduleMutation mutation);
    bool isTenantCurrent(const QString& tenantID) const { return authState_.tenantID == tenantID; }
    void updateAuthState(const std::function<void(AuthState&)>& change);

    static QCoro::Task<void> runBootstrap(QPointer<UGCAppState> self);
    static QCoro::Task<void> runContextLoad(QPointer<UGCAppState> self, QString tenantID, QUuid taskID, std::stop_token stop);
    static QCoro::Task<void> runPasswordSignIn(QPointer<UGCAppState> self, QString email, QString password);
    static QCoro::Task<void> runBrowserAuth(QPointer<UGCAppState> self, NativeAuthFlowMode mode,
                                            std::optional<NativeAuthProvider> provider, QUuid flowID, std::stop_token stop);
    static QCoro::Task<void> runSuggestions(QPointer<UGCAppState> self, bool fromKnowledge, QString tenantID,
                                            OptionalString favoriteID, QUuid taskID, std::stop_token stop);
    static QCoro::Task<void> runPublish(QPointer<UGCAppState> self, PublishJob job, std::stop_token stop);
    static QCoro::Task<void> runAvatarPage(QPointer<UGCAppState> self, QString tenantID, OptionalString cursor, bool reset,
                                           quint64 request);
    static QCoro::Task<void> runStandaloneAvatar(QPointer<UGCAppState> self, QString tenantID);
    static QCoro::Task<void> runAvatarDeletion(QPointer<UGCAppState> self, QString tenantID, AvatarListItem item);
    static QCoro::Task<void> runHistoryPage(QPointer<UGCAppState> self, QString tenantID, OptionalString cursor);
    static QCoro::Task<void> runScheduleCreation(QPointer<UGCAppState> self, QString tenantID, ScheduleDraft draft,
                                                 UGCDuration duration, QString language);
    static QCoro::Task<void> runScheduleMutation(QPointer<UGCAppState> self, QString tenantID, UGCSchedule schedule,
                                                 ScheduleMutation mutation);
    static QCoro::Task<void> runVideoDownload(QPointer<UGCAppState> self, QUrl remote, QString destination);
    static QCoro::Task<void> runSignOut(QPointer<UGCAppState> self);
    static QCoro::Task<void> runPipeline(QPointer<UGCAppState> self, QUuid runID, QString tenantID, std::stop_token stop);
    QCoro::Task<void> runLivePipeline(QUuid runID, QString tenantID, std::stop_token stop);
    // True once the render was submitted and its polling returned; false when the run went stale.
    QCoro::Task<bool> runLiveSteps(QUuid runID, QString tenantID, std::stop_token stop);
    QCoro::Task<void> runStubPipeline(QUuid runID, std::stop_token stop);
    // False when the run went stale while waiting: the caller then writes nothing more.
    QCoro::Task<bool> pollUntilComplete(QUuid runID, QString tenantID, QString generationID, std::stop_token stop);

    OptionalString errorMessage_;

    QNetworkAccessManager* network_;
    UGCRuntimeConfiguration runtimeConfiguration_;
    BrowserURLOpener browserURLOpener_;
    std::unique_ptr<UGCClock> clock_;
    UGCSessionVault sessionVault_;
    std::unique_ptr<AuthManager> authManager_;
    std::unique_ptr<HTTPTransport> transport_;
    std::unique_ptr<UGCAPIClient> apiClient_;
    std::unique_ptr<UGCWorkspacePreferencesStore> preferencesStore_;

    UGCTaskSlot browserAuthTask_;
    UGCTaskSlot contextTask_;
    UGCTaskSlot suggestionTask_;
    UGCTaskSlot pipelineTask_;
    UGCTaskSlot publishTask_;

    // Moves on at every sign-in and sign-out, so an answer that arrives for a session the user
    // has since left is dropped instead of applied to (or signing out) the next one.
    quint64 sessionGeneration_ = 0;
    // The library page request in flight; leaving the workspace moves it on, so the old request's
    // answer neither fills the next workspace's library nor ends its loading.
    quint64 avatarPageRequest_ = 0;
    bool didRunDebugAutogenerate_ = false;
    bool isRestoringWorkspacePreferences_ = false;
    std::optional<ContextErrorCover> contextErrorCover_;
    UGCStep stepBeforeContextLoad_ = UGCStep::idle;
    OptionalString lastAnnouncedErrorMessage_;
};

}  // namespace vexora

// Start-up and the workspace context.
#include "workflow/UGCAppState.h"

#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"

namespace vexora {

void UGCAppState::bootstrap() { runBootstrap(this); }

QCoro::Task<void> UGCAppState::runBootstrap(QPointer<UGCAppState> self) {
    const quint64 generation = self->sessionGeneration_;
    const std::optional<UserSession> session = co_await self->authManager_->restoreSession();
    if (!self) co_return;
    // A sign-in or sign-out while the keyring was read is newer than what it held: the stored
    // session must not replace it (a stale one would even sign the new one out on its 401).
    const bool superseded = self->sessionGeneration_ != generation;
    if (!superseded) {
        self->updateAuthState([&](AuthState& state) { state.session = session; });
        if (session) self->sessionVault_.replace(*session);
        else self->sessionVault_.clear();
    }
    if (session && !superseded) co_await self->refreshAuthenticatedContext();
    if (!self) co_return;
    self->setIsBootstrapping(false);
    self->recomputeStatusIconState();
    self->notifyPreferredPanelSizeDidChange();
}

void UGCAppState::fetchContext() {
    if (!authState_.tenantID) return;
    const QString tenantID = *authState_.tenantID;
    auto [taskID, stop] = contextTask_.begin();
    setIsContextLoading(true);
    if (!isRunActive()) {
        if (step_ != UGCStep::loadingContext) stepBeforeContextLoad_ = step_;
        setStep(UGCStep::loadingContext);
    }
    runContextLoad(this, tenantID, taskID, stop);
}

QCoro::Task<void> UGCAppState::runContextLoad(QPointer<UGCAppState> self, QString tenantID, QUuid taskID, std::stop_token stop) {
    if (!self) co_return;
    std::optional<UGCContextBundle> bundle;
    std::exception_ptr failure;
    try {
        bundle = co_await self->apiClient_->fetchContextBundle(tenantID, stop);
        if (stop.stop_requested()) throw CancellationError();
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    const bool current = self->contextTask_.isCurrent(taskID) && self->isTenantCurrent(tenantID);
    if (current && bundle) self->applyContextBundle(*bundle);
    if (current && failure && !isCancellationLike(failure)) self->showContextLoadError(errorText(failure));
    if (!self->contextTask_.isCurrent(taskID)) co_return;
    self->contextTask_.finish();
    self->setIsContextLoading(false);
    if (self->step_ == UGCStep::loadingContext) self->setStep(UGCStep::idle);
    self->recomputeStatusIconState();
    self->notifyPreferredPanelSizeDidChange();
}

void UGCAppState::showContextLoadError(const QString& text) {
    if (!contextErrorCover_)
        contextErrorCover_ = ContextErrorCover{step_ == UGCStep::loadingContext ? stepBeforeContextLoad_ : step_, errorMessage_};
    writeErrorMessage(text);
    if (!isRunActive()) setStep(UGCStep::error);
}

void UGCAppState::applyContextBundle(const UGCContextBundle& bundle) {
    isRestoringWorkspacePreferences_ = true;
    // A good load ends a failed one's error; a run's error it stood over comes back.
    if (contextErrorCover_) setErrorMessage(contextErrorCover_->errorMessage);
    updateAuthState([&](AuthState& state) { state.balanceCredits = bundle.balanceCredits; });
    setFavorites(bundle.favorites);
    setProducts(bundle.products);
    setSocialAccounts(bundle.socialAccounts);
    normalizeSelectedPublishAccounts();
    setConnectionLocks(bundle.connectionLocks);
    setHistory(bundle.history.items);
    setHistoryNextCursor(bundle.history.nextCursor);
    setHistoryHasMore(bundle.history.hasMore);
    setSchedulesFeatureEnabled(bundle.schedules.featureEnabled);
    setSchedules(bundle.schedules.schedules);
    if (!pipelineTask_.isHeld() && !publishTask_.isHeld()) setStep(UGCStep::idle);
    syncScheduleDraftFavorite();
    restoreWorkspacePreferencesIfAvailable();
    isRestoringWorkspacePreferences_ = false;
    persistWorkspacePreferences();
    fetchAvatars(true);
}

void UGCAppState::syncScheduleDraftFavorite() {
    ScheduleDraft draft = scheduleDraft_;
    draft.favoriteID = selectedFavoriteID_;
    setScheduleDraft(draft);
}

void UGCAppState::cancelTenantScopedWork() {
    browserAuthTask_.cancel();  // its flow id stays: the cancelled flow ends itself quietly
    for (UGCTaskSlot* slot : {&contextTask_, &suggestionTask_, &pipelineTask_, &publishTask_}) {
        slot->abandon();
    }
    setIsSuggesting(false);
}

void UGCAppState::clearTenantState() {
    setSelectedFavoriteID(std::nullopt);
    setSelectedProductID(std::nullopt);
    setSelectedPublishAccountIDs({});
    setFavorites({});
    setProducts({});
    setSocialAccounts({});
    setConnectionLocks({});
    setHistory({});
    setHistoryNextCursor(std::nullopt);
    setHistoryHasMore(false);
    setSchedules({});
    setScheduleDraft(ScheduleDraft{});
    setMutatingScheduleIDs({});
    setAvatars({});
    setAvatarsNextCursor(std::nullopt);
    setAvatarsHasMore(false);
    ++avatarPageRequest_;  // a page still on its way belongs to the workspace left
    setIsAvatarsLoading(false);
    setIsEmptyHistoryDismissed(false);
    setSuggestions({});  // their gap ids name the workspace's own content
    clearPipelineOutput(false);
}

}  // namespace vexora

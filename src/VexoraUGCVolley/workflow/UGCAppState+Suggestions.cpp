// Topic suggestions, from content gaps or from the workspace's knowledge documents.
#include "workflow/UGCAppState.h"

#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"

namespace vexora {

void UGCAppState::suggest(bool fromKnowledge) {
    if (!authState_.tenantID) return;
    if (fromKnowledge && !selectedFavoriteID_) {
        setErrorMessage(QStringLiteral("Choose a favorite before knowledge suggestions."));
        return;
    }
    setIsSuggesting(true);
    auto [taskID, stop] = suggestionTask_.begin();
    runSuggestions(this, fromKnowledge, *authState_.tenantID, selectedFavoriteID_, taskID, stop);
}

QCoro::Task<void> UGCAppState::runSuggestions(QPointer<UGCAppState> self, bool fromKnowledge, QString tenantID,
                                              OptionalString favoriteID, QUuid taskID, std::stop_token stop) {
    if (!self) co_return;
    std::optional<SuggestionsResponse> reply;
    std::exception_ptr failure;
    try {
        UGCAPIClient& client = *self->apiClient_;
        if (fromKnowledge) reply = co_await client.suggestKnowledge(tenantID, favoriteID.value_or(QString()), stop);
        else reply = co_await client.suggestTopics(tenantID, favoriteID, stop);
        if (stop.stop_requested()) throw CancellationError();
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    const bool current = self->suggestionTask_.isCurrent(taskID);
    if (current && reply && self->isTenantCurrent(tenantID) && self->selectedFavoriteID_ == favoriteID) {
        self->setSuggestions(reply->suggestions);
        if (!reply->suggestions.isEmpty()) self->setErrorMessage(std::nullopt);
        else self->setErrorMessage(reply->message.value_or(reply->reason.value_or(QStringLiteral("No suggestions available yet."))));
    }
    if (current && failure && !isCancellationLike(failure)) self->setErrorMessage(errorText(failure));
    if (!self->suggestionTask_.isCurrent(taskID)) co_return;
    self->suggestionTask_.finish();
    self->setIsSuggesting(false);
}

void UGCAppState::topicDidChange() {
    persistWorkspacePreferences();
    // Editing away from a suggestion's wording detaches it: the script then carries no gap id.
    if (selectedSuggestion_ && selectedSuggestion_->topic != topic_) setSelectedSuggestion(std::nullopt);
}

void UGCAppState::selectedFavoriteDidChange() {
    setSuggestions({});
    setSelectedSuggestion(std::nullopt);
    syncScheduleDraftFavorite();
    persistWorkspacePreferences();
    // The handle and identity stay: the cancelled task clears them and the busy flag itself.
    if (suggestionTask_.handle) suggestionTask_.handle->request_stop();
}

}  // namespace vexora

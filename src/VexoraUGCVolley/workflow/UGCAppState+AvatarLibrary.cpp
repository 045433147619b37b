// The reusable avatar library: paging, standalone generation, deletion, selection, traits.
#include "workflow/UGCAppState.h"

#include "foundation/ErrorText.h"
#include "workflow/UGCAvatarOptions.h"

#include <QSet>

namespace vexora {

void UGCAppState::fetchAvatars(bool reset) {
    if (!authState_.tenantID || isAvatarsLoading_) return;
    if (reset) {
        setAvatarsNextCursor(std::nullopt);
        setAvatarsHasMore(false);
    } else if (!avatarsNextCursor_ && !avatars_.isEmpty()) {
        return;  // nothing further to load
    }
    setIsAvatarsLoading(true);
    runAvatarPage(this, *authState_.tenantID, reset ? std::nullopt : avatarsNextCursor_, reset, ++avatarPageRequest_);
}

QCoro::Task<void> UGCAppState::runAvatarPage(QPointer<UGCAppState> self, QString tenantID, OptionalString cursor, bool reset,
                                             quint64 request) {
    std::optional<AvatarListResponse> page;
    std::exception_ptr failure;
    try {
        page = co_await self->apiClient_->fetchAvatars(tenantID, cursor);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self || self->avatarPageRequest_ != request) co_return;
    if (self->isTenantCurrent(tenantID)) {
        if (page) self->appendAvatarPage(*page, reset);
        else self->setErrorMessage(errorText(failure));
    }
    self->setIsAvatarsLoading(false);
}

void UGCAppState::appendAvatarPage(const AvatarListResponse& page, bool reset) {
    if (reset) {
        setAvatars(page.items);
    } else {
        // A page may repeat faces already shown, under new ids too: the URL decides.
        QList<AvatarListItem> merged = avatars_;
        QSet<QString> seen;
        for (const AvatarListItem& item : avatars_) seen.insert(item.avatarURL);
        for (const AvatarListItem& item : page.items)
            if (!seen.contains(item.avatarURL)) {
                seen.insert(item.avatarURL);
                merged.append(item);
            }
        setAvatars(merged);
    }
    setAvatarsNextCursor(page.nextCursor);
    setAvatarsHasMore(page.hasMore.value_or(false));
}

void UGCAppState::generateStandaloneAvatar() {
    if (!authState_.tenantID || isGeneratingAvatar_) return;
    setIsGeneratingAvatar(true);
    runStandaloneAvatar(this, *authState_.tenantID);
}

QCoro::Task<void> UGCAppState::runStandaloneAvatar(QPointer<UGCAppState> self, QString tenantID) {
    StandaloneAvatarRequest request;
    request.tenantId = tenantID;
    request.traits = self->avatarTraitsForRequest();
    std::optional<StandaloneAvatarResponse> made;
    std::exception_ptr failure;
    try {
        made = co_await self->apiClient_->generateStandaloneAvatar(request);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (self->isTenantCurrent(tenantID)) {
        if (made) {
            self->useAvatar(made->avatarURL);
            self->fetchAvatars(true);  // skipped while a list request is in flight
        } else {
            self->setErrorMessage(errorText(failure));
        }
    }
    self->setIsGeneratingAvatar(false);
}

void UGCAppState::deleteAvatar(const AvatarListItem& item) {
    if (!authState_.tenantID || deletingAvatarIDs_.contains(item.id)) return;
    setDeletingAvatarIDs(withID(deletingAvatarIDs_, item.id));
    runAvatarDeletion(this, *authState_.tenantID, item);
}

QCoro::Task<void> UGCAppState::runAvatarDeletion(QPointer<UGCAppState> self, QString tenantID, AvatarListItem item) {
    std::exception_ptr failure;
    try {
        co_await self->apiClient_->deleteAvatar(tenantID, item.id);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (self->isTenantCurrent(tenantID)) {
        if (!failure) {
            QList<AvatarListItem> kept;
            for (const AvatarListItem& entry : self->avatars_)
                if (entry.id != item.id && entry.avatarURL != item.avatarURL) kept.append(entry);
            self->setAvatars(kept);
            if (self->reusedAvatarURL_ == item.avatarURL) self->setReusedAvatarURL(std::nullopt);
            if (self->scheduleDraft_.avatarURL == item.avatarURL) self->setScheduleDraftAvatar(QString());
            if (self->avatarImageRemover) co_await self->avatarImageRemover(item.avatarURL);
        } else {
            self->setErrorMessage(errorText(failure));
        }
    }
    if (!self) co_return;
    self->setDeletingAvatarIDs(withoutID(self->deletingAvatarIDs_, item.id));
}

void UGCAppState::selectAvatar(const AvatarListItem& item) { useAvatar(item.avatarURL); }

void UGCAppState::clearSelectedAvatar() {
    setReusedAvatarURL(std::nullopt);
    setScheduleDraftAvatar(QString());
}

void UGCAppState::useAvatar(const QString& avatarURL) {
    setReusedAvatarURL(avatarURL);
    setScheduleDraftAvatar(avatarURL);
}

void UGCAppState::setScheduleDraftAvatar(const QString& avatarURL) {
    ScheduleDraft draft = scheduleDraft_;
    draft.avatarURL = avatarURL;
    setScheduleDraft(draft);
}

AvatarTraits UGCAppState::avatarTraitsForRequest() const {
    if (avatarAutoMode_) return UGCAvatarOptions::randomTraits();
    return AvatarTraits{avatarGender_, avatarOrigin_, avatarAgeRange_, avatarType_, avatarLocation_};
}

}  // namespace vexora

// Saved choices per workspace, and the generation that was on screen when the app last wrote them.
#include "workflow/UGCAppState.h"

#include "languages/UGCShortsLanguage.h"
#include "workflow/UGCAvatarOptions.h"
#include "workflow/UGCWorkspacePreferencesStore.h"

#include <QDateTime>
#include <algorithm>

namespace vexora {

namespace {

const QString interruptedText = QStringLiteral("Previous generation was interrupted. Generate again to continue.");

QString normalizedLanguage(const QString& code) {
    const auto known = UGCShortsLanguage::byCode(code);
    return known ? known->code : QStringLiteral("en");
}

QString knownTraitOr(const QList<AvatarTraitOption>& options, const QString& value, const QString& fallback) {
    return UGCAvatarOptions::contains(options, value) ? value : fallback;
}

bool endedUnfinished(UGCStep step) {
    return step != UGCStep::idle && step != UGCStep::complete;
}

}  // namespace

OptionalString UGCAppState::validatedFavoriteID(const OptionalString& id) const {
    if (!id) return std::nullopt;
    for (const FavoriteOption& favorite : favorites_)
        if (favorite.id == *id) return id;
    return std::nullopt;
}

OptionalString UGCAppState::validatedProductID(const OptionalString& id) const {
    if (!id) return std::nullopt;
    for (const DashboardProduct& product : products_)
        if (product.id == *id) return id;
    return std::nullopt;
}

ScheduleDraft UGCAppState::sanitizedScheduleDraft(const ScheduleDraft& draft) const {
    ScheduleDraft clean = sanitizedScheduleDraftShape(draft);
    clean.favoriteID = validatedFavoriteID(draft.favoriteID);
    clean.avatarURL = validatedRemoteURLString(draft.avatarURL).value_or(QString());
    return clean;
}

std::optional<UGCPendingGenerationSnapshot> UGCAppState::makePendingGenerationSnapshot() const {
    // A failed context load's error is not the run's: the record keeps what it stands over.
    const UGCStep step = contextErrorCover_ && step_ == UGCStep::error ? contextErrorCover_->step : step_;
    if (!script_ && !title_ && !dbID_ && !generationID_ && !avatarURL_ && !videoURL_ && publishResults_.isEmpty() &&
        step == UGCStep::idle)
        return std::nullopt;
    UGCPendingGenerationSnapshot snapshot;
    snapshot.topic = topic_;
    snapshot.selectedFavoriteID = selectedFavoriteID_;
    snapshot.selectedProductID = selectedProductID_;
    snapshot.selectedDuration = selectedDuration_;
    snapshot.language = language_;
    snapshot.reusedAvatarURL = reusedAvatarURL_;
    snapshot.script = script_;
    snapshot.title = title_;
    snapshot.dbID = dbID_;
    snapshot.generationID = generationID_;
    snapshot.avatarURL = avatarURL_;
    snapshot.videoURL = videoURL_;
    snapshot.publishResults = publishResults_;
    snapshot.step = step;
    snapshot.errorMessage = contextErrorCover_ ? contextErrorCover_->errorMessage : errorMessage_;
    snapshot.updatedAt = QDateTime::fromMSecsSinceEpoch(qint64(clock_->now() * 1000), Qt::UTC);
    return snapshot;
}

UGCWorkspacePreferences UGCAppState::makeWorkspacePreferences() const {
    UGCWorkspacePreferences record;
    record.topic = topic_;
    record.language = normalizedLanguage(language_);
    record.selectedFavoriteID = validatedFavoriteID(selectedFavoriteID_);
    record.selectedProductID = validatedProductID(selectedProductID_);
    record.selectedDuration = selectedDuration_;
    record.reusedAvatarURL = validatedRemoteURLString(reusedAvatarURL_);
    record.avatarGender = avatarGender_;
    record.avatarOrigin = avatarOrigin_;
    record.avatarAgeRange = avatarAgeRange_;
    record.avatarType = avatarType_;
    record.avatarLocation = avatarLocation_;
    record.avatarAutoMode = avatarAutoMode_;
    record.autoPublish = autoPublish_;
    record.selectedPublishAccountIDs = selectedPublishAccountIDs_;
    record.isHistoryExpanded = isHistoryExpanded_;
    record.isSchedulesExpanded = isSchedulesExpanded_;
    record.isEmptyHistoryDismissed = isEmptyHistoryDismissed_;
    record.scheduleDraft = sanitizedScheduleDraft(scheduleDraft_);
    record.pendingGeneration = makePendingGenerationSnapshot();
    return record;
}

void UGCAppState::persistWorkspacePreferences() {
    if (isRestoringWorkspacePreferences_ || step_ == UGCStep::loadingContext || !authState_.tenantID) return;
    preferencesStore_->save(makeWorkspacePreferences(), *authState_.tenantID);
}

void UGCAppState::restoreWorkspacePreferencesIfAvailable() {
    const std::optional<UGCWorkspacePreferences> record =
        authState_.tenantID ? preferencesStore_->load(*authState_.tenantID) : std::nullopt;
    if (!record) {
        setIsEmptyHistoryDismissed(false);
        return;
    }
    const UGCWorkspacePreferences& defaults = UGCWorkspacePreferences::empty;
    setTopic(record->topic);
    setLanguage(normalizedLanguage(record->language));
    setSelectedFavoriteID(validatedFavoriteID(record->selectedFavoriteID));
    setSelectedProductID(validatedProductID(record->selectedProductID));
    setSelectedDuration(record->selectedDuration);
    setReusedAvatarURL(validatedRemoteURLString(record->reusedAvatarURL));
    setAvatarGender(knownTraitOr(UGCAvatarOptions::genders, record->avatarGender, defaults.avatarGender));
    setAvatarOrigin(knownTraitOr(UGCAvatarOptions::origins, record->avatarOrigin, defaults.avatarOrigin));
    setAvatarAgeRange(knownTraitOr(UGCAvatarOptions::ageRanges, record->avatarAgeRange, defaults.avatarAgeRange));
    setAvatarType(knownTraitOr(UGCAvatarOptions::types, record->avatarType, defaults.avatarType));
    setAvatarLocation(knownTraitOr(UGCAvatarOptions::locations, record->avatarLocation, defaults.avatarLocation));
    setAvatarAutoMode(record->avatarAutoMode.value_or(true));
    setAutoPublish(record->autoPublish);
    restorePublishAccountChoices(record->selectedPublishAccountIDs);
    setIsHistoryExpanded(record->isHistoryExpanded);
    setIsSchedulesExpanded(record->isSchedulesExpanded);
    setIsEmptyHistoryDismissed(record->isEmptyHistoryDismissed);
    setScheduleDraft(sanitizedScheduleDraft(record->scheduleDraft));
    // Not over a run or publish under way: its own snapshot would call it interrupted.
    if (record->pendingGeneration && !isRunActive()) restoreGenerationSnapshot(*record->pendingGeneration);
}

void UGCAppState::restorePublishAccountChoices(const AccountSelection& stored) {
    AccountSelection chosen = selectedPublishAccountIDs_;
    for (UGCPlatform platform : {UGCPlatform::tiktok, UGCPlatform::instagram}) {
        const auto id = stored.constFind(accountKey(platform));
        if (id == stored.cend() || connectionLocks_.isLocked(platform)) continue;
        const QList<ConnectedSocialAccount> offered = accounts(platform);
        // Only an account still offered; otherwise the first one, as normalizing chose.
        if (std::any_of(offered.cbegin(), offered.cend(), [&](const auto& account) { return account.id == *id; }))
            chosen.insert(accountKey(platform), *id);
    }
    setSelectedPublishAccountIDs(chosen);
}

void UGCAppState::restoreGenerationSnapshot(const UGCPendingGenerationSnapshot& snapshot) {
    setTopic(snapshot.topic);
    setSelectedDuration(snapshot.selectedDuration);
    setSelectedFavoriteID(validatedFavoriteID(snapshot.selectedFavoriteID));
    setSelectedProductID(validatedProductID(snapshot.selectedProductID));
    setLanguage(normalizedLanguage(snapshot.language));
    setReusedAvatarURL(validatedRemoteURLString(snapshot.reusedAvatarURL));
    setAvatarURL(validatedRemoteURLString(snapshot.avatarURL));
    setVideoURL(validatedRemoteURLString(snapshot.videoURL));
    setScript(snapshot.script);
    setTitle(snapshot.title);
    setDbID(snapshot.dbID);
    setGenerationID(snapshot.generationID);
    setPublishResults(snapshot.publishResults);
    // Nothing resumes by itself: a run that was under way comes back as an error to retry.
    const bool interrupted = endedUnfinished(snapshot.step);
    setErrorMessage(interrupted ? snapshot.errorMessage.value_or(interruptedText) : snapshot.errorMessage);
    setStep(interrupted ? UGCStep::error : snapshot.step);
}

}  // namespace vexora

// Older history pages, filling the generator from an entry, and the workspace's schedules.
#include "workflow/UGCAppState.h"

#include "foundation/ErrorText.h"

namespace vexora {

void UGCAppState::loadMoreHistory() {
    if (!authState_.tenantID || !historyHasMore_ || isHistoryLoading_) return;
    setIsHistoryLoading(true);
    OptionalString cursor = historyNextCursor_;
    if (cursor && cursor->isEmpty()) cursor.reset();
    runHistoryPage(this, *authState_.tenantID, cursor);
}

QCoro::Task<void> UGCAppState::runHistoryPage(QPointer<UGCAppState> self, QString tenantID, OptionalString cursor) {
    std::optional<HistoryResponse> page;
    std::exception_ptr failure;
    try {
        page = co_await self->apiClient_->fetchHistory(tenantID, cursor);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (self->isTenantCurrent(tenantID)) {
        if (page) {
            self->setHistory(self->history_ + page->items);  // as received: the server decides what repeats
            self->setHistoryNextCursor(page->nextCursor);
            self->setHistoryHasMore(page->hasMore);
        } else {
            self->setErrorMessage(errorText(failure));
        }
    }
    self->setIsHistoryLoading(false);
}

void UGCAppState::prefillFromHistory(const UGCHistoryItem& item) {
    setTopic(item.topic.value_or(item.title.value_or(QString())));
    setSelectedFavoriteID(item.favoriteID);
    selectedFavoriteDidChange();
    setReusedAvatarURL(item.avatarURL);
    setScheduleDraftAvatar(item.avatarURL.value_or(QString()));
    for (UGCDuration duration : {UGCDuration::five, UGCDuration::ten, UGCDuration::fifteen})
        if (item.durationSeconds == seconds(duration)) setSelectedDuration(duration);
}

void UGCAppState::setScheduleRunsPerDay(int runsPerDay) {
    ScheduleDraft draft = scheduleDraft_;
    draft.runsPerDay = runsPerDay;
    draft.runHours = draft.runHours.mid(0, std::max(runsPerDay, 0));
    while (draft.runHours.size() < runsPerDay) draft.runHours.append(int(draft.runHours.size()) + 9);
    setScheduleDraft(draft);
}

void UGCAppState::createSchedule() {
    if (!authState_.tenantID || scheduleDraft_.validationError()) return;
    runScheduleCreation(this, *authState_.tenantID, scheduleDraft_, selectedDuration_, language_);
}

QCoro::Task<void> UGCAppState::runScheduleCreation(QPointer<UGCAppState> self, QString tenantID, ScheduleDraft draft,
                                                   UGCDuration duration, QString language) {
    std::optional<ScheduleListState> fetched;
    std::exception_ptr failure;
    try {
        co_await self->apiClient_->createSchedule(tenantID, draft, duration, language);
        if (self) fetched = co_await self->apiClient_->fetchSchedules(tenantID, std::nullopt);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self || !self->isTenantCurrent(tenantID)) co_return;
    if (!fetched) {
        self->setErrorMessage(errorText(failure));
        co_return;
    }
    self->setSchedulesFeatureEnabled(fetched->featureEnabled);
    self->setSchedules(fetched->schedules);
    self->setScheduleDraft(ScheduleDraft{});
    self->setErrorMessage(std::nullopt);
}

void UGCAppState::toggleSchedule(const UGCSchedule& schedule) { mutateSchedule(schedule, ScheduleMutation::toggle); }

void UGCAppState::deleteSchedule(const UGCSchedule& schedule) { mutateSchedule(schedule, ScheduleMutation::remove); }

void UGCAppState::mutateSchedule(const UGCSchedule& schedule, ScheduleMutation mutation) {
    if (!authState_.tenantID || mutatingScheduleIDs_.contains(schedule.id)) return;
    setMutatingScheduleIDs(withID(mutatingScheduleIDs_, schedule.id));
    runScheduleMutation(this, *authState_.tenantID, schedule, mutation);
}

QCoro::Task<void> UGCAppState::runScheduleMutation(QPointer<UGCAppState> self, QString tenantID, UGCSchedule schedule,
                                                   ScheduleMutation mutation) {
    std::optional<UGCSchedule> updated;
    std::exception_ptr failure;
    try {
        if (mutation == ScheduleMutation::toggle)
            updated = co_await self->apiClient_->updateSchedule(tenantID, schedule.id, !schedule.isPaused);
        else co_await self->apiClient_->deleteSchedule(tenantID, schedule.id);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (self->isTenantCurrent(tenantID)) {
        if (failure) {
            self->setErrorMessage(errorText(failure));
        } else {
            QList<UGCSchedule> next;
            for (const UGCSchedule& entry : self->schedules_) {
                if (mutation == ScheduleMutation::remove && entry.id == schedule.id) continue;
                next.append(updated && entry.id == updated->id ? *updated : entry);
            }
            self->setSchedules(next);
        }
    }
    self->setMutatingScheduleIDs(withoutID(self->mutatingScheduleIDs_, schedule.id));
}

}  // namespace vexora

// Publishing the finished video to the chosen account of each platform.
#include "workflow/UGCAppState.h"

#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"

#include <algorithm>

namespace vexora {

namespace {

constexpr UGCPlatform platforms[] = {UGCPlatform::tiktok, UGCPlatform::instagram};

// The channel an account publishes to; none for a platform this app does not know.
OptionalString publishKeyOfAccount(const ConnectedSocialAccount& account) {
    if (account.platform == QLatin1String("tiktok")) return QStringLiteral("tiktok");
    if (account.platform == QLatin1String("instagram")) return QStringLiteral("instagram_reels");
    return std::nullopt;
}

std::optional<ConnectedSocialAccount> accountWithID(const QList<ConnectedSocialAccount>& accounts, const QString& id) {
    const auto it = std::find_if(accounts.begin(), accounts.end(), [&](const auto& account) { return account.id == id; });
    if (it == accounts.end()) return std::nullopt;
    return *it;
}

bool sameTargetSet(QList<PublishTarget> a, QList<PublishTarget> b) {
    const auto byKey = [](const PublishTarget& x, const PublishTarget& y) {
        return std::pair(x.platform, x.accountID) < std::pair(y.platform, y.accountID);
    };
    std::sort(a.begin(), a.end(), byKey);
    std::sort(b.begin(), b.end(), byKey);
    a.erase(std::unique(a.begin(), a.end()), a.end());
    b.erase(std::unique(b.begin(), b.end()), b.end());
    return a == b;
}

}  // namespace

QList<ConnectedSocialAccount> UGCAppState::accounts(UGCPlatform platform) const {
    QList<ConnectedSocialAccount> offered;
    for (const ConnectedSocialAccount& account : socialAccounts_)
        if (account.platform == accountKey(platform) && account.isActive) offered.append(account);
    // Plain code-unit order, as the service's own lists sort: capitals before small letters.
    std::stable_sort(offered.begin(), offered.end(),
                     [](const auto& a, const auto& b) { return a.displayName() < b.displayName(); });
    return offered;
}

OptionalString UGCAppState::selectedPublishAccountID(UGCPlatform platform) const {
    const QList<ConnectedSocialAccount> offered = accounts(platform);
    const auto stored = selectedPublishAccountIDs_.constFind(accountKey(platform));
    if (stored != selectedPublishAccountIDs_.cend() && accountWithID(offered, *stored)) return *stored;
    if (offered.isEmpty()) return std::nullopt;
    return offered.first().id;
}

void UGCAppState::setSelectedPublishAccountID(const OptionalString& accountID, UGCPlatform platform) {
    AccountSelection next = selectedPublishAccountIDs_;
    if (accountID) next.insert(accountKey(platform), *accountID);
    else next.remove(accountKey(platform));
    setSelectedPublishAccountIDs(next);
}

void UGCAppState::normalizeSelectedPublishAccounts() {
    AccountSelection next = selectedPublishAccountIDs_;
    for (UGCPlatform platform : platforms) {
        const QList<ConnectedSocialAccount> offered = accounts(platform);
        const auto stored = next.constFind(accountKey(platform));
        if (stored != next.cend() && accountWithID(offered, *stored)) continue;
        if (offered.isEmpty()) next.remove(accountKey(platform));
        else next.insert(accountKey(platform), offered.first().id);
    }
    setSelectedPublishAccountIDs(next);
}

std::optional<PublishTarget> UGCAppState::selectedPublishTarget(UGCPlatform platform) const {
    if (connectionLocks_.isLocked(platform)) return std::nullopt;
    const OptionalString chosen = selectedPublishAccountID(platform);
    if (!chosen) return std::nullopt;
    const std::optional<ConnectedSocialAccount> account = accountWithID(accounts(platform), *chosen);
    if (!account) return std::nullopt;
    const OptionalString key = publishKeyOfAccount(*account);
    if (!key) return std::nullopt;
    return PublishTarget{*key, account->id};
}

QList<PublishTarget> UGCAppState::publishTargets(bool failedOnly) const {
    if (failedOnly) return failedPublishTargets();
    QList<PublishTarget> targets;
    for (UGCPlatform platform : platforms)
        if (const auto target = selectedPublishTarget(platform)) targets.append(*target);
    return targets;
}

QList<PublishTarget> UGCAppState::failedPublishTargets() const {
    QList<PublishTarget> targets;
    for (UGCPlatform platform : platforms) {
        if (connectionLocks_.isLocked(platform)) continue;
        for (const PublishResult& result : publishResults_) {
            if (result.platform != publishKey(platform) || !result.didFail()) continue;
            // Without an account id the result stands for the account in effect.
            const std::optional<PublishTarget> target = result.accountID
                                                            ? failedPublishTarget(platform, *result.accountID, result.platform)
                                                            : selectedPublishTarget(platform);
            if (target && !targets.contains(*target)) targets.append(*target);
        }
    }
    return targets;
}

std::optional<PublishTarget> UGCAppState::failedPublishTarget(UGCPlatform platform, const QString& accountID,
                                                              const QString& publishPlatform) const {
    // The service may report either the connection id or the platform's own account id.
    const QList<ConnectedSocialAccount> offered = accounts(platform);
    const auto it = std::find_if(offered.begin(), offered.end(),
                                 [&](const auto& account) { return account.id == accountID || account.accountID == accountID; });
    if (it == offered.end() || publishKeyOfAccount(*it) != publishPlatform) return std::nullopt;
    return PublishTarget{publishPlatform, it->id};
}

bool UGCAppState::canPublishCurrent() const {
    return authState_.tenantID && dbID_ && videoURL_ && script_ && !publishTargets(false).isEmpty() && !publishTask_.isHeld();
}

void UGCAppState::publishCurrent(bool failedOnly) {
    if (publishTask_.isHeld()) return;
    if (!authState_.tenantID || !dbID_ || !videoURL_ || !script_) return;
    QList<PublishTarget> targets = publishTargets(failedOnly);
    if (targets.isEmpty()) {
        setErrorMessage(QStringLiteral("No publishable connected accounts."));
        return;
    }
    PublishJob job;
    job.request.tenantId = *authState_.tenantID;
    job.request.dbID = *dbID_;
    job.request.videoURL = *videoURL_;
    job.request.speechText = *script_;
    job.request.targets = targets;
    const bool toTikTok = std::any_of(targets.begin(), targets.end(), [](const auto& t) { return t.platform == QLatin1String("tiktok"); });
    if (toTikTok) job.request.privacyStatus = QStringLiteral("private");
    job.runID = pipelineTask_.id;
    job.generationID = generationID_;
    job.failedOnly = failedOnly;
    auto [publishID, stop] = publishTask_.begin();
    job.publishID = publishID;
    runPublish(this, std::move(job), stop);
}

bool UGCAppState::isPublishStillWanted(const PublishJob& job) const {
    return publishTask_.isCurrent(job.publishID) && pipelineTask_.id == job.runID && isTenantCurrent(job.request.tenantId) &&
           generationID_ == job.generationID && sameTargetSet(publishTargets(job.failedOnly), job.request.targets);
}

QCoro::Task<void> UGCAppState::runPublish(QPointer<UGCAppState> self, PublishJob job, std::stop_token stop) {
    if (!self) co_return;
    self->setStep(UGCStep::publishing);
    std::optional<PublishResponse> reply;
    std::exception_ptr failure;
    try {
        reply = co_await self->apiClient_->publish(job.request, stop);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (self->isPublishStillWanted(job)) {
        if (reply) {
            self->mergePublishResults(reply->results);
            self->setStep(UGCStep::complete);
        } else if (!isCancellationLike(failure)) {
            self->setErrorMessage(errorText(failure));
            self->setStep(UGCStep::error);
        }
    }
    if (!self->publishTask_.isCurrent(job.publishID)) co_return;
    // A dropped reply (the targets changed meanwhile) leaves the finished video where it was.
    if (self->step_ == UGCStep::publishing) self->setStep(UGCStep::complete);
    self->publishTask_.finish();
    self->recomputeStatusIconState();
}

void UGCAppState::mergePublishResults(const QList<PublishResult>& results) {
    QMap<QString, PublishResult> merged;
    for (const PublishResult& result : publishResults_) merged.insert(result.id(), result);
    for (const PublishResult& result : results) merged.insert(result.id(), result);
    QList<PublishResult> ordered = merged.values();
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.platform < b.platform; });
    setPublishResults(ordered);
}

}  // namespace vexora

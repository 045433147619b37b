#include "client/UGCAPIClient.h"

#include "client/UGCAPIPath.h"
#include "foundation/JSONValue.h"

#include <QTimeZone>

namespace vexora {

namespace {

const QString shorts = QStringLiteral("api/dashboard/shorts/");
const QString pageSize = QStringLiteral("50");
const QString suggestionLimit = QStringLiteral("5");

// Present only with at least one character.
std::optional<QString> nonEmpty(const std::optional<QString>& text) {
    if (!text || text->isEmpty()) return std::nullopt;
    return text;
}

QueryItems tenantQuery(const QString& tenantID) { return {{QStringLiteral("tenantId"), tenantID}}; }

QString scopedPath(const QString& basePath, const QString& tenantID) { return makePath(basePath, tenantQuery(tenantID)); }

QString pagePath(const QString& basePath, const QString& tenantID, const std::optional<QString>& before) {
    QueryItems items = tenantQuery(tenantID);
    items.append({QStringLiteral("limit"), pageSize});
    if (auto cursor = nonEmpty(before)) items.append({QStringLiteral("before"), *cursor});
    return makePath(basePath, items);
}

// Awaits one child of the context load. After the first failure in await order the others
// are stopped and only waited out: their results and errors no longer count.
template <typename T>
QCoro::Task<std::optional<T>> awaitInOrder(QCoro::Task<T> child, std::exception_ptr* failure, std::stop_source* children) {
    try {
        T value = co_await std::move(child);
        if (!*failure) co_return value;
    } catch (...) {
        if (!*failure) {
            *failure = std::current_exception();
            children->request_stop();
        }
    }
    co_return std::nullopt;
}

}  // namespace

QCoro::Task<AuthenticatedContext> UGCAPIClient::fetchAuthenticatedContext(std::stop_token stop) {
    const TenantsResponse response = co_await get<TenantsResponse>(QStringLiteral("api/tenants"), std::move(stop));
    if (response.tenants.isEmpty())
        throw APIClientError::http(401, QStringLiteral("No active tenant"), QStringLiteral("UNAUTHENTICATED"));
    const TenantOption& tenant = response.tenants.first();
    co_return AuthenticatedContext{tenant.id, tenant.name, std::nullopt, truncatedCredits(tenant.balanceCredits.value_or(0)),
                                   tenant.planType};
}

QCoro::Task<UGCContextBundle> UGCAPIClient::fetchContextBundle(QString tenantID, std::stop_token stop) {
    std::stop_source children;
    std::stop_callback stopChildren(stop, [&children] { children.request_stop(); });
    const std::stop_token token = children.get_token();

    auto usage = get<UsageStatsResponse>(scopedPath(QStringLiteral("api/ai-insights/usage/stats"), tenantID), token);
    auto favorites = get<FavoritesResponse>(scopedPath(QStringLiteral("api/ai-insights/favorites"), tenantID), token);
    auto products = get<ProductsResponse>(scopedPath(QStringLiteral("api/dashboard/products"), tenantID), token);
    auto accounts = get<SocialAccountsResponse>(scopedPath(QStringLiteral("api/social-accounts"), tenantID), token);
    auto history = fetchHistory(tenantID, std::nullopt, token);
    auto schedules = fetchSchedules(tenantID, std::nullopt, token);

    std::exception_ptr failure;
    auto usageResult = co_await awaitInOrder(std::move(usage), &failure, &children);
    auto favoritesResult = co_await awaitInOrder(std::move(favorites), &failure, &children);
    auto productsResult = co_await awaitInOrder(std::move(products), &failure, &children);
    auto accountsResult = co_await awaitInOrder(std::move(accounts), &failure, &children);
    auto historyResult = co_await awaitInOrder(std::move(history), &failure, &children);
    auto schedulesResult = co_await awaitInOrder(std::move(schedules), &failure, &children);
    if (failure) std::rethrow_exception(failure);

    UGCContextBundle bundle;
    bundle.balanceCredits = usageResult->resolvedCredits();
    bundle.favorites = std::move(favoritesResult->favorites);
    bundle.products = std::move(productsResult->products);
    for (const ConnectedSocialAccount& account : accountsResult->accounts)
        if (account.isActive) bundle.socialAccounts.append(account);
    bundle.connectionLocks = accountsResult->connectionLocks.value_or(ConnectionLocks{});
    bundle.history = std::move(*historyResult);
    bundle.schedules = std::move(*schedulesResult);
    co_return bundle;
}

QCoro::Task<SuggestionsResponse> UGCAPIClient::suggestTopics(QString tenantID, std::optional<QString> favoriteID,
                                                             std::stop_token stop) {
    QueryItems items = tenantQuery(tenantID);
    items.append({QStringLiteral("limit"), suggestionLimit});
    if (auto favorite = nonEmpty(favoriteID)) items.append({QStringLiteral("favoriteId"), *favorite});
    return get<SuggestionsResponse>(makePath(shorts + QStringLiteral("suggest-topics"), items), std::move(stop));
}

QCoro::Task<SuggestionsResponse> UGCAPIClient::suggestKnowledge(QString tenantID, QString favoriteID, std::stop_token stop) {
    QueryItems items = tenantQuery(tenantID);
    items.append({QStringLiteral("limit"), suggestionLimit});
    items.append({QStringLiteral("favoriteId"), favoriteID});
    return get<SuggestionsResponse>(makePath(shorts + QStringLiteral("suggest-knowledge"), items), std::move(stop));
}

QCoro::Task<ScriptResponse> UGCAPIClient::createScript(ScriptRequest request, std::stop_token stop) {
    return post<ScriptResponse>(shorts + QStringLiteral("script"), request.toJson(), std::move(stop));
}

QCoro::Task<AvatarResponse> UGCAPIClient::createAvatar(AvatarRequest request, std::stop_token stop) {
    return post<AvatarResponse>(shorts + QStringLiteral("avatar"), request.toJson(), std::move(stop));
}

QCoro::Task<VideoResponse> UGCAPIClient::generateVideo(VideoRequest request, std::stop_token stop) {
    return post<VideoResponse>(shorts + QStringLiteral("generate"), request.toJson(), std::move(stop));
}

QCoro::Task<PollResponse> UGCAPIClient::pollVideo(QString generationID, QString tenantID, std::stop_token stop) {
    return get<PollResponse>(scopedPath(shorts + encodedPathSegment(generationID), tenantID), std::move(stop));
}

QCoro::Task<PublishResponse> UGCAPIClient::publish(PublishRequest request, std::stop_token stop) {
    return post<PublishResponse>(shorts + QStringLiteral("publish"), request.toJson(), std::move(stop));
}

QCoro::Task<HistoryResponse> UGCAPIClient::fetchHistory(QString tenantID, std::optional<QString> before, std::stop_token stop) {
    return get<HistoryResponse>(pagePath(shorts + QStringLiteral("history"), tenantID, before), std::move(stop));
}

QCoro::Task<AvatarListResponse> UGCAPIClient::fetchAvatars(QString tenantID, std::optional<QString> before,
                                                           std::stop_token stop) {
    return get<AvatarListResponse>(pagePath(shorts + QStringLiteral("avatars"), tenantID, before), std::move(stop));
}

QCoro::Task<StandaloneAvatarResponse> UGCAPIClient::generateStandaloneAvatar(StandaloneAvatarRequest request,
                                                                             std::stop_token stop) {
    return post<StandaloneAvatarResponse>(shorts + QStringLiteral("avatars/generate"), request.toJson(), std::move(stop));
}

QCoro::Task<AvatarDeleteResponse> UGCAPIClient::deleteAvatar(QString tenantID, QString avatarID, std::stop_token stop) {
    return transport_.request<AvatarDeleteResponse>(
        scopedPath(shorts + QStringLiteral("avatars/") + encodedPathSegment(avatarID), tenantID), QStringLiteral("DELETE"),
        std::nullopt, true, std::move(stop));
}

bool UGCAPIClient::isSchedulesFeatureOffError(const APIClientError& error) {
    if (error.statusCode() != 404 || !error.code()) return false;
    const QString code = *error.code();
    return code == QLatin1String("SCHEDULES_NOT_ENABLED") ||
           (code == QLatin1String("NotFound") && error.message() == QLatin1String("Not Found"));
}

QCoro::Task<ScheduleListState> UGCAPIClient::fetchSchedules(QString tenantID, std::optional<QString> favoriteID,
                                                            std::stop_token stop) {
    QueryItems items = tenantQuery(tenantID);
    if (auto favorite = nonEmpty(favoriteID)) items.append({QStringLiteral("favoriteId"), *favorite});
    try {
        const SchedulesResponse response =
            co_await get<SchedulesResponse>(makePath(shorts + QStringLiteral("schedules"), items), std::move(stop));
        co_return ScheduleListState{true, response.schedules};
    } catch (const APIClientError& error) {
        if (!isSchedulesFeatureOffError(error)) throw;
    }
    co_return ScheduleListState::disabled();
}

QCoro::Task<void> UGCAPIClient::createSchedule(QString tenantID, ScheduleDraft draft, UGCDuration duration, QString language,
                                               std::stop_token stop) {
    if (!nonEmpty(draft.favoriteID) || draft.validationError()) throw APIClientError::invalidResponse();
    const Json body = scheduleCreateBody(draft, duration, language, QString::fromUtf8(QTimeZone::systemTimeZoneId()));
    co_await post<JSONValue>(scopedPath(shorts + QStringLiteral("schedules"), tenantID), body, std::move(stop));
}

QCoro::Task<UGCSchedule> UGCAPIClient::updateSchedule(QString tenantID, QString scheduleID, bool isPaused,
                                                      std::stop_token stop) {
    const ScheduleMutationResponse response = co_await transport_.request<ScheduleMutationResponse>(
        scopedPath(shorts + QStringLiteral("schedules/") + encodedPathSegment(scheduleID), tenantID),
        QStringLiteral("PATCH"), scheduleUpdateBody(isPaused), true, std::move(stop));
    if (!response.schedule) throw APIClientError::invalidResponse();
    co_return *response.schedule;
}

QCoro::Task<void> UGCAPIClient::deleteSchedule(QString tenantID, QString scheduleID, std::stop_token stop) {
    const HTTPReply reply = co_await transport_.performRequest(
        scopedPath(shorts + QStringLiteral("schedules/") + encodedPathSegment(scheduleID), tenantID),
        QStringLiteral("DELETE"), std::nullopt, true, std::move(stop));
    if (reply.statusCode == 204 || reply.body.isEmpty()) co_return;
    // A body must at least be a mutation reply; its content does not matter.
    ScheduleMutationResponse::fromJson(JsonReader::parse(reply.body));
}

}  // namespace vexora

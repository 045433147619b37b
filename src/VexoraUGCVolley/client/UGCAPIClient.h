#pragma once

#include "auth/AuthRecords.h"
#include "client/UGCContextRecords.h"
#include "client/UGCGenerationRecords.h"
#include "client/UGCHistoryRecords.h"
#include "client/UGCScheduleRecords.h"
#include "foundation/HTTPTransport.h"

#include <QCoroTask>
#include <stop_token>

namespace vexora {

// The typed client of the service's UGC endpoints. It holds no state but the transport; the
// tenant is a parameter of every scoped call. Every call is authenticated and may be stopped.
class UGCAPIClient {
public:
    explicit UGCAPIClient(HTTPTransport& transport) : transport_(transport) {}

    // The first workspace the user belongs to.
    QCoro::Task<AuthenticatedContext> fetchAuthenticatedContext(std::stop_token stop = {});
    // The six context requests, started together; the first failure in await order wins.
    QCoro::Task<UGCContextBundle> fetchContextBundle(QString tenantID, std::stop_token stop = {});

    QCoro::Task<SuggestionsResponse> suggestTopics(QString tenantID, std::optional<QString> favoriteID,
                                                   std::stop_token stop = {});
    QCoro::Task<SuggestionsResponse> suggestKnowledge(QString tenantID, QString favoriteID, std::stop_token stop = {});
    QCoro::Task<ScriptResponse> createScript(ScriptRequest request, std::stop_token stop = {});
    QCoro::Task<AvatarResponse> createAvatar(AvatarRequest request, std::stop_token stop = {});
    QCoro::Task<VideoResponse> generateVideo(VideoRequest request, std::stop_token stop = {});
    QCoro::Task<PollResponse> pollVideo(QString generationID, QString tenantID, std::stop_token stop = {});
    QCoro::Task<PublishResponse> publish(PublishRequest request, std::stop_token stop = {});

    QCoro::Task<HistoryResponse> fetchHistory(QString tenantID, std::optional<QString> before, std::stop_token stop = {});
    QCoro::Task<AvatarListResponse> fetchAvatars(QString tenantID, std::optional<QString> before, std::stop_token stop = {});
    QCoro::Task<StandaloneAvatarResponse> generateStandaloneAvatar(StandaloneAvatarRequest request,
                                                                   std::stop_token stop = {});
    QCoro::Task<AvatarDeleteResponse> deleteAvatar(QString tenantID, QString avatarID, std::stop_token stop = {});
    QCoro::Task<ScheduleListState> fetchSchedules(QString tenantID, std::optional<QString> favoriteID,
                                                  std::stop_token stop = {});
    QCoro::Task<void> createSchedule(QString tenantID, ScheduleDraft draft, UGCDuration duration, QString language,
                                     std::stop_token stop = {});
    QCoro::Task<UGCSchedule> updateSchedule(QString tenantID, QString scheduleID, bool isPaused, std::stop_token stop = {});
    QCoro::Task<void> deleteSchedule(QString tenantID, QString scheduleID, std::stop_token stop = {});

    // The reply that means the workspace has no schedules feature.
    static bool isSchedulesFeatureOffError(const APIClientError& error);

private:
    template <typename Response>
    QCoro::Task<Response> get(QString path, std::stop_token stop) {
        return transport_.request<Response>(std::move(path), QStringLiteral("GET"), std::nullopt, true, std::move(stop));
    }
    template <typename Response>
    QCoro::Task<Response> post(QString path, Json body, std::stop_token stop) {
        return transport_.request<Response>(std::move(path), QStringLiteral("POST"), std::move(body), true, std::move(stop));
    }

    HTTPTransport& transport_;
};

}  // namespace vexora

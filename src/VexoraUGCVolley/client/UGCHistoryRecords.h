#pragma once

#include "client/UGCGenerationTraits.h"
#include "foundation/Json.h"
#include "foundation/JsonReader.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>

namespace vexora {

// Wire records of the history and avatar-library endpoints.

// One destination's publishing outcome.
struct PublishResult {
    QString platform;
    std::optional<QString> accountID;
    QString status;  // the reply's, else "success" when ok is true, else "failed"
    std::optional<bool> ok;
    std::optional<QString> postID;
    std::optional<QString> url;    // first of url, post_url, youtube_url, permalink_url, permalink
    std::optional<QString> error;  // a string, or an error object's message, else its code

    QString id() const;  // platform + "-" + (account id or "default")
    // An explicit ok decides; without one only the status "success" counts as published.
    bool didFail() const;
    bool operator==(const PublishResult&) const = default;
    Json toJson() const;
    static PublishResult fromJson(const JsonReader& reader);
};

// True when any of the results failed.
bool anyPublishFailed(const QList<PublishResult>& results);

struct PublishResultsPayload {
    QList<PublishResult> results;
    std::optional<QString> metadataProvider;
    std::optional<std::map<QString, double>> timings;
    bool operator==(const PublishResultsPayload&) const = default;
    static PublishResultsPayload fromJson(const JsonReader& reader);
};

struct UGCHistoryItem {
    QString id;
    std::optional<QString> topic;
    std::optional<QString> title;
    std::optional<QString> script;
    std::optional<QString> videoURL;
    std::optional<QString> avatarURL;
    std::optional<QString> favoriteID;
    std::optional<QString> scheduleID;
    std::optional<std::int64_t> durationSeconds;  // "duration", else "duration_seconds"
    std::optional<QString> createdAt;
    std::optional<PublishResultsPayload> publishResults;  // never fails the item
    bool operator==(const UGCHistoryItem&) const = default;
    static UGCHistoryItem fromJson(const JsonReader& reader);
};

struct HistoryResponse {
    QList<UGCHistoryItem> items;
    std::optional<QString> nextCursor;
    bool hasMore = false;
    bool operator==(const HistoryResponse&) const = default;
    static HistoryResponse fromJson(const JsonReader& reader);
};

struct AvatarListItem {
    QString id;
    QString avatarURL;
    std::optional<QString> createdAt;
    bool operator==(const AvatarListItem&) const = default;
    static AvatarListItem fromJson(const JsonReader& reader);
};

struct AvatarListResponse {
    QList<AvatarListItem> items;
    std::optional<std::int64_t> limit;
    std::optional<QString> nextCursor;
    std::optional<bool> hasMore;
    static AvatarListResponse fromJson(const JsonReader& reader);
    bool operator==(const AvatarListResponse&) const = default;
};

struct StandaloneAvatarRequest {
    QString tenantId;
    AvatarTraits traits;
    Json toJson() const;
    bool operator==(const StandaloneAvatarRequest&) const = default;
};

struct StandaloneAvatarResponse {
    std::optional<QString> generationID;
    QString avatarURL;
    std::optional<std::int64_t> creditsCharged;
    std::optional<QString> createdAt;
    static StandaloneAvatarResponse fromJson(const JsonReader& reader);
    bool operator==(const StandaloneAvatarResponse&) const = default;
};

struct AvatarDeleteResponse {
    bool deleted = false;
    QString avatarID;
    QString avatarURL;
    std::optional<std::int64_t> clearedRows;
    static AvatarDeleteResponse fromJson(const JsonReader& reader);
    bool operator==(const AvatarDeleteResponse&) const = default;
};

}  // namespace vexora

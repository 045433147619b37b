#pragma once

#include "client/UGCGenerationTraits.h"
#include "client/UGCHistoryRecords.h"
#include "foundation/Json.h"
#include "foundation/JsonReader.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace vexora {

// Wire records of the suggestion, generation and publishing endpoints.

struct Suggestion {
    QString source;
    std::optional<QString> gapID;
    std::optional<QString> documentID;
    QString topic;
    std::optional<QString> hook;
    std::optional<QString> sourceSnippet;
    QString fallbackID;  // made fresh at each decode; never sent or received

    // The gap id, else the document id, else topic + "-" + fallbackID.
    QString id() const;
    bool operator==(const Suggestion&) const = default;
    static Suggestion fromJson(const JsonReader& reader);
};

struct SuggestionsResponse {
    QList<Suggestion> suggestions;
    std::optional<QString> message;
    std::optional<QString> reason;
    static SuggestionsResponse fromJson(const JsonReader& reader);
};

struct ScriptRequest {
    QString tenantId;
    QString topic;
    std::optional<QString> productId;
    std::optional<QString> favoriteId;
    std::optional<QString> gapId;
    QString duration;  // "short" or "long"
    int requestedDurationSeconds = 0;
    QString style = QStringLiteral("hook");
    QString language;
    bool operator==(const ScriptRequest&) const = default;
    Json toJson() const;
};

struct ScriptResponse {
    QString script;
    std::optional<QString> title;
    std::optional<QList<QString>> hashtags;
    std::optional<std::int64_t> estimatedDurationSec;
    std::optional<std::int64_t> creditsCharged;
    QString dbID;
    static ScriptResponse fromJson(const JsonReader& reader);
};

struct AvatarRequest {
    QString tenantId;
    QString dbID;
    AvatarTraits traits;
    Json toJson() const;
};

struct AvatarResponse {
    QString avatarURL;
    std::optional<std::int64_t> creditsCharged;
    static AvatarResponse fromJson(const JsonReader& reader);
};

struct VideoRequest {
    static inline const QString speakingPrompt = QStringLiteral(
        "Person speaking directly to camera, natural gestures, engaging eye contact, professional but casual");

    QString tenantId;
    QString dbID;
    QString prompt = speakingPrompt;
    QString avatarURL;
    bool reuseAvatar = false;
    int duration = 0;
    QString speechText;
    Json toJson() const;
};

struct VideoResponse {
    QString generationID;
    QString status;
    std::optional<std::int64_t> creditsCharged;
    std::optional<std::int64_t> estimatedSeconds;
    static VideoResponse fromJson(const JsonReader& reader);
};

struct PollResponse {
    QString status;
    std::optional<QString> videoURL;
    std::optional<QString> error;
    std::optional<std::int64_t> creditsCharged;
    static PollResponse fromJson(const JsonReader& reader);
};

struct PublishTarget {
    QString platform;   // "tiktok" or "instagram_reels"
    QString accountID;  // the connection id of the chosen account
    bool operator==(const PublishTarget&) const = default;
    Json toJson() const;
};

struct PublishRequest {
    QString tenantId;
    QString dbID;
    QString videoURL;
    QString speechText;
    QList<PublishTarget> targets;
    std::optional<QString> privacyStatus;
    Json toJson() const;
};

struct PublishResponse {
    QList<PublishResult> results;
    static PublishResponse fromJson(const JsonReader& reader);
};

}  // namespace vexora

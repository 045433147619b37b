#include "client/UGCGenerationRecords.h"

#include <QUuid>

namespace vexora {

namespace {

std::optional<QList<QString>> optionalStrings(const JsonReader& reader, std::string_view key) {
    auto member = reader.optionalMember(key);
    if (!member) return std::nullopt;
    QList<QString> strings;
    for (const JsonReader& item : member->array()) strings.append(item.string());
    return strings;
}

}  // namespace

QString Suggestion::id() const { return gapID.value_or(documentID.value_or(topic + QLatin1Char('-') + fallbackID)); }

Suggestion Suggestion::fromJson(const JsonReader& reader) {
    return Suggestion{reader.requiredString("source"),
                      reader.optionalString("gap_id"),
                      reader.optionalString("document_id"),
                      reader.requiredString("topic"),
                      reader.optionalString("hook"),
                      reader.optionalString("source_snippet"),
                      QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()};
}

SuggestionsResponse SuggestionsResponse::fromJson(const JsonReader& reader) {
    return SuggestionsResponse{reader.requiredList<Suggestion>("suggestions"), reader.optionalString("message"),
                               reader.optionalString("reason")};
}

Json ScriptRequest::toJson() const {
    Json body = {{"tenantId", tenantId}, {"topic", topic}};
    putIfPresent(body, "product_id", productId);
    putIfPresent(body, "favorite_id", favoriteId);
    putIfPresent(body, "gap_id", gapId);
    body["duration"] = duration;
    body["requested_duration_seconds"] = requestedDurationSeconds;
    body["style"] = style;
    body["language"] = language;
    return body;
}

ScriptResponse ScriptResponse::fromJson(const JsonReader& reader) {
    return ScriptResponse{reader.requiredString("script"),
                          reader.optionalString("title"),
                          optionalStrings(reader, "hashtags"),
                          reader.optionalInteger("estimated_duration_sec"),
                          reader.optionalInteger("credits_charged"),
                          reader.requiredString("db_id")};
}

Json AvatarRequest::toJson() const {
    Json body = {{"tenantId", tenantId}, {"db_id", dbID}};
    traits.writeTo(body);
    return body;
}

AvatarResponse AvatarResponse::fromJson(const JsonReader& reader) {
    return AvatarResponse{reader.requiredString("avatar_url"), reader.optionalInteger("credits_charged")};
}

Json VideoRequest::toJson() const {
    return {{"tenantId", tenantId}, {"db_id", dbID},       {"prompt", prompt},         {"avatar_url", avatarURL},
            {"reuse_avatar", reuseAvatar}, {"duration", duration}, {"speech_text", speechText}};
}

VideoResponse VideoResponse::fromJson(const JsonReader& reader) {
    return VideoResponse{reader.requiredString("generation_id"), reader.requiredString("status"),
                         reader.optionalInteger("credits_charged"), reader.optionalInteger("estimated_seconds")};
}

PollResponse PollResponse::fromJson(const JsonReader& reader) {
    return PollResponse{reader.requiredString("status"), reader.optionalString("video_url"), reader.optionalString("error"),
                        reader.optionalInteger("credits_charged")};
}

Json PublishTarget::toJson() const { return {{"platform", platform}, {"account_id", accountID}}; }

Json PublishRequest::toJson() const {
    Json targetList = Json::array();
    for (const PublishTarget& target : targets) targetList.push_back(target.toJson());
    Json body = {{"tenantId", tenantId}, {"db_id", dbID}, {"video_url", videoURL}, {"speech_text", speechText},
                 {"targets", targetList}};
    putIfPresent(body, "privacy_status", privacyStatus);
    return body;
}

PublishResponse PublishResponse::fromJson(const JsonReader& reader) {
    return PublishResponse{reader.requiredList<PublishResult>("results")};
}

}  // namespace vexora

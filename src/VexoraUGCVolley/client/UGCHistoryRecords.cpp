#include "client/UGCHistoryRecords.h"

#include "foundation/FoundationErrors.h"

#include <algorithm>

namespace vexora {

namespace {

std::optional<QString> firstPresentString(const JsonReader& reader, std::initializer_list<std::string_view> keys) {
    for (std::string_view key : keys)
        if (auto value = reader.optionalString(key)) return value;
    return std::nullopt;
}

// A string, or an object's message, else its code. Any other shape, or an object member of
// the wrong type, is no error text at all.
std::optional<QString> tolerantErrorText(const JsonReader& reader) {
    auto error = reader.optionalMember("error");
    if (!error) return std::nullopt;
    if (error->value().is_string()) return error->string();
    if (!error->isObject()) return std::nullopt;
    try {
        const auto message = error->optionalString("message");
        return message ? message : error->optionalString("code");
    } catch (const DecodingError&) {
        return std::nullopt;
    }
}

// An object payload, else a bare array of results, else nothing: never fails the item.
std::optional<PublishResultsPayload> tolerantPublishResults(const JsonReader& item) {
    auto member = item.optionalMember("publish_results");
    if (!member) return std::nullopt;
    try {
        return PublishResultsPayload::fromJson(*member);
    } catch (const DecodingError&) {
    }
    try {
        QList<PublishResult> results;
        for (const JsonReader& entry : member->array()) results.append(PublishResult::fromJson(entry));
        return PublishResultsPayload{results, std::nullopt, std::nullopt};
    } catch (const DecodingError&) {
    }
    return std::nullopt;
}

}  // namespace

QString PublishResult::id() const { return platform + QLatin1Char('-') + accountID.value_or(QStringLiteral("default")); }

bool PublishResult::didFail() const { return ok ? !*ok : status != QLatin1String("success"); }

bool anyPublishFailed(const QList<PublishResult>& results) {
    return std::any_of(results.begin(), results.end(), [](const PublishResult& result) { return result.didFail(); });
}

Json PublishResult::toJson() const {
    Json json = {{"platform", platform}};
    putIfPresent(json, "account_id", accountID);
    json["status"] = status;
    putIfPresent(json, "ok", ok);
    putIfPresent(json, "post_id", postID);
    putIfPresent(json, "url", url);
    putIfPresent(json, "error", error);
    return json;
}

PublishResult PublishResult::fromJson(const JsonReader& reader) {
    PublishResult result;
    result.platform = reader.requiredString("platform");
    result.accountID = reader.optionalString("account_id");
    result.ok = reader.optionalBool("ok");
    result.status = reader.optionalString("status").value_or(result.ok.value_or(false) ? QStringLiteral("success")
                                                                                         : QStringLiteral("failed"));
    result.postID = reader.optionalString("post_id");
    result.url = firstPresentString(reader, {"url", "post_url", "youtube_url", "permalink_url", "permalink"});
    result.error = tolerantErrorText(reader);
    return result;
}

PublishResultsPayload PublishResultsPayload::fromJson(const JsonReader& reader) {
    PublishResultsPayload payload{reader.requiredList<PublishResult>("results"), reader.optionalString("metadataProvider"),
                                  std::nullopt};
    if (auto timings = reader.optionalMember("timings")) {
        std::map<QString, double> values;
        if (!timings->isObject()) timings->fail(QStringLiteral("is not an object"));
        for (auto it = timings->value().begin(); it != timings->value().end(); ++it)
            values[QString::fromStdString(it.key())] = timings->member(it.key()).number();
        payload.timings = std::move(values);
    }
    return payload;
}

UGCHistoryItem UGCHistoryItem::fromJson(const JsonReader& reader) {
    UGCHistoryItem item;
    item.id = reader.requiredString("id");
    item.topic = reader.optionalString("topic");
    item.title = reader.optionalString("title");
    item.script = reader.optionalString("script");
    item.videoURL = reader.optionalString("video_url");
    item.avatarURL = reader.optionalString("avatar_url");
    item.favoriteID = reader.optionalString("favorite_id");
    item.scheduleID = reader.optionalString("schedule_id");
    item.durationSeconds = reader.optionalInteger("duration");
    if (!item.durationSeconds) item.durationSeconds = reader.optionalInteger("duration_seconds");
    item.createdAt = reader.optionalString("created_at");
    item.publishResults = tolerantPublishResults(reader);
    return item;
}

HistoryResponse HistoryResponse::fromJson(const JsonReader& reader) {
    return HistoryResponse{reader.requiredList<UGCHistoryItem>("items"), reader.optionalString("next_cursor"),
                           reader.member("has_more").boolean()};
}

AvatarListItem AvatarListItem::fromJson(const JsonReader& reader) {
    return AvatarListItem{reader.requiredString("id"), reader.requiredString("avatar_url"), reader.optionalString("created_at")};
}

AvatarListResponse AvatarListResponse::fromJson(const JsonReader& reader) {
    return AvatarListResponse{reader.requiredList<AvatarListItem>("items"), reader.optionalInteger("limit"),
                              reader.optionalString("next_cursor"), reader.optionalBool("has_more")};
}

Json StandaloneAvatarRequest::toJson() const {
    Json body = {{"tenantId", tenantId}};
    traits.writeTo(body);
    return body;
}

StandaloneAvatarResponse StandaloneAvatarResponse::fromJson(const JsonReader& reader) {
    return StandaloneAvatarResponse{reader.optionalString("generation_id"), reader.requiredString("avatar_url"),
                                    reader.optionalInteger("credits_charged"), reader.optionalString("created_at")};
}

AvatarDeleteResponse AvatarDeleteResponse::fromJson(const JsonReader& reader) {
    return AvatarDeleteResponse{reader.member("deleted").boolean(), reader.requiredString("avatar_id"),
                                reader.requiredString("avatar_url"), reader.optionalInteger("cleared_rows")};
}

}  // namespace vexora

#include "client/UGCScheduleRecords.h"

#include <QSet>
#include <algorithm>
#include <climits>

namespace vexora {

QString storedName(ScheduleTopicSource source) {
    switch (source) {
    case ScheduleTopicSource::manual: return QStringLiteral("manual");
    case ScheduleTopicSource::gaps: return QStringLiteral("gaps");
    case ScheduleTopicSource::knowledge: return QStringLiteral("knowledge");
    }
    return {};
}

QString wireName(ScheduleTopicSource source) {
    return source == ScheduleTopicSource::gaps ? QStringLiteral("gap") : storedName(source);
}

std::optional<ScheduleTopicSource> scheduleTopicSourceFromStoredName(const QString& name) {
    for (auto source : {ScheduleTopicSource::manual, ScheduleTopicSource::gaps, ScheduleTopicSource::knowledge})
        if (storedName(source) == name) return source;
    return std::nullopt;
}

Json UGCSchedule::toJson() const {
    Json json = {{"id", id}, {"favorite_id", favoriteID}};
    putIfPresent(json, "name", name);
    putIfPresent(json, "default_topic", defaultTopic);
    json["topic_source"] = wireName(topicSource);
    json["avatar_url"] = avatarURL;
    json["runs_per_day"] = runsPerDay;
    json["run_hours"] = std::vector<int>(runHours.begin(), runHours.end());
    json["is_paused"] = isPaused;
    json["is_enabled"] = !isPaused;
    return json;
}

UGCSchedule UGCSchedule::fromJson(const JsonReader& reader) {
    UGCSchedule schedule;
    schedule.id = reader.requiredString("id");
    schedule.favoriteID = reader.requiredString("favorite_id");
    schedule.name = reader.optionalString("name");
    schedule.defaultTopic = reader.optionalString("default_topic");
    // Only two texts name their own case; everything else, absence included, means gaps.
    const QString source = reader.optionalString("topic_source").value_or(QString());
    schedule.topicSource = source == QLatin1String("manual")      ? ScheduleTopicSource::manual
                           : source == QLatin1String("knowledge") ? ScheduleTopicSource::knowledge
                                                                  : ScheduleTopicSource::gaps;
    // A malformed configuration fails the schedule even where the top-level URL wins.
    std::optional<QString> configuredURL;
    if (auto config = reader.optionalMember("default_avatar_config")) configuredURL = config->requiredString("avatar_url");
    schedule.avatarURL = reader.optionalString("avatar_url").value_or(configuredURL.value_or(QString()));
    schedule.runsPerDay = reader.member("runs_per_day").integer();
    // Saturated, not wrapped: an absurd hour must stay absurd (2^32 + 9 is no 9 o'clock).
    for (const JsonReader& hour : reader.member("run_hours").array())
        schedule.runHours.append(int(std::clamp<std::int64_t>(hour.integer(), INT_MIN, INT_MAX)));
    if (auto paused = reader.optionalBool("is_paused")) schedule.isPaused = *paused;
    else if (auto enabled = reader.optionalBool("is_enabled")) schedule.isPaused = !*enabled;
    return schedule;
}

SchedulesResponse SchedulesResponse::fromJson(const JsonReader& reader) {
    return SchedulesResponse{reader.requiredList<UGCSchedule>("schedules")};
}

std::optional<QString> ScheduleDraft::validationError() const {
    if (!favoriteID || favoriteID->isEmpty()) return QStringLiteral("Choose a favorite first.");
    if (topicSource == ScheduleTopicSource::manual && defaultTopic.trimmed().isEmpty())
        return QStringLiteral("Manual schedules need a default topic.");
    if (avatarURL.trimmed().isEmpty()) return QStringLiteral("Choose or generate an avatar first.");
    if (runsPerDay < 1 || runsPerDay > 6) return QStringLiteral("Runs per day must be 1-6.");
    if (runHours.size() != runsPerDay) return QStringLiteral("Run hours must match runs per day.");
    if (QSet<int>(runHours.begin(), runHours.end()).size() != runHours.size()) return QStringLiteral("Run hours must be unique.");
    for (int hour : runHours)
        if (hour < 0 || hour > 23) return QStringLiteral("Run hours must be 0-23.");
    return std::nullopt;
}

Json scheduleCreateBody(const ScheduleDraft& draft, UGCDuration duration, const QString& language, const QString& timeZoneID) {
    Json body = {{"favorite_id", draft.favoriteID.value_or(QString())},
                 {"name", "UGC Schedule"},
                 {"runs_per_day", draft.runsPerDay},
                 {"run_hours", std::vector<int>(draft.runHours.begin(), draft.runHours.end())},
                 {"timezone", timeZoneID},
                 {"topic_source", wireName(draft.topicSource)}};
    if (!draft.defaultTopic.isEmpty()) body["default_topic"] = draft.defaultTopic;
    body["default_duration"] = seconds(duration);
    body["default_language"] = language;
    body["default_avatar_random"] = false;
    body["default_avatar_config"] = Json{{"avatar_url", draft.avatarURL}};
    body["auto_publish"] = false;
    body["is_enabled"] = true;
    return body;
}

Json scheduleUpdateBody(bool isPaused) {
    Json body = {{"is_enabled", !isPaused}};
    if (isPaused) body["pause_reason"] = "manual";
    return body;
}

ScheduleMutationResponse ScheduleMutationResponse::fromJson(const JsonReader& reader) {
    ScheduleMutationResponse response{std::nullopt, reader.optionalBool("success")};
    if (auto schedule = reader.optionalMember("schedule")) response.schedule = UGCSchedule::fromJson(*schedule);
    return response;
}

}  // namespace vexora

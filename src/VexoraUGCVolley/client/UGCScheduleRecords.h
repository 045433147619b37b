#pragma once

#include "client/UGCTypes.h"
#include "foundation/Json.h"
#include "foundation/JsonReader.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace vexora {

// Wire records of the schedule endpoints, and the schedule builder's draft.

enum class ScheduleTopicSource { manual, gaps, knowledge };

QString storedName(ScheduleTopicSource source);  // "manual", "gaps", "knowledge"
QString wireName(ScheduleTopicSource source);    // the service says "gap" for gaps
std::optional<ScheduleTopicSource> scheduleTopicSourceFromStoredName(const QString& name);

struct UGCSchedule {
    QString id;
    QString favoriteID;
    std::optional<QString> name;
    std::optional<QString> defaultTopic;
    ScheduleTopicSource topicSource = ScheduleTopicSource::gaps;
    QString avatarURL;  // avatar_url, else default_avatar_config.avatar_url, else ""
    std::int64_t runsPerDay = 0;
    QList<int> runHours;
    bool isPaused = false;  // is_paused, else !is_enabled, else false

    bool operator==(const UGCSchedule&) const = default;
    Json toJson() const;
    static UGCSchedule fromJson(const JsonReader& reader);
};

struct SchedulesResponse {
    QList<UGCSchedule> schedules;
    static SchedulesResponse fromJson(const JsonReader& reader);
    bool operator==(const SchedulesResponse&) const = default;
};

struct ScheduleListState {
    bool featureEnabled = true;
    QList<UGCSchedule> schedules;
    bool operator==(const ScheduleListState&) const = default;
    static ScheduleListState disabled() { return ScheduleListState{false, {}}; }
};

// The schedule builder's form; the default value is the empty draft.
struct ScheduleDraft {
    std::optional<QString> favoriteID;
    ScheduleTopicSource topicSource = ScheduleTopicSource::manual;
    QString defaultTopic;
    QString avatarURL;
    int runsPerDay = 1;
    QList<int> runHours{9};

    bool operator==(const ScheduleDraft&) const = default;
    // The first rule the draft breaks, none when it may be submitted.
    std::optional<QString> validationError() const;
};

Json scheduleCreateBody(const ScheduleDraft& draft, UGCDuration duration, const QString& language,
                        const QString& timeZoneID);
Json scheduleUpdateBody(bool isPaused);

struct ScheduleMutationResponse {
    std::optional<UGCSchedule> schedule;
    std::optional<bool> success;
    static ScheduleMutationResponse fromJson(const JsonReader& reader);
    bool operator==(const ScheduleMutationResponse&) const = default;
};

}  // namespace vexora

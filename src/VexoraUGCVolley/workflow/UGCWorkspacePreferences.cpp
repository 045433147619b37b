#include "workflow/UGCWorkspacePreferences.h"

#include <QUrl>
#include <algorithm>

namespace vexora {

namespace {

constexpr UGCStep allSteps[] = {UGCStep::idle,    UGCStep::loadingContext, UGCStep::script,
                                UGCStep::avatar,  UGCStep::video,          UGCStep::polling,
                                UGCStep::publishing, UGCStep::complete,    UGCStep::error};
const char* const stepNames[] = {"idle", "loadingContext", "script", "avatar", "video", "polling", "publishing", "complete", "error"};

int durationSeconds(UGCDuration duration) { return seconds(duration); }

UGCDuration durationFromJson(const JsonReader& reader) {
    for (UGCDuration duration : {UGCDuration::five, UGCDuration::ten, UGCDuration::fifteen})
        if (reader.integer() == seconds(duration)) return duration;
    reader.fail(QStringLiteral("is not 5, 10 or 15"));
}

}  // namespace

QString stepName(UGCStep step) { return QString::fromLatin1(stepNames[int(step)]); }

std::optional<UGCStep> stepFromName(const QString& name) {
    for (UGCStep step : allSteps)
        if (name == QLatin1String(stepNames[int(step)])) return step;
    return std::nullopt;
}

const UGCWorkspacePreferences UGCWorkspacePreferences::empty{};

Json scheduleDraftToJson(const ScheduleDraft& draft) {
    Json json = {{"topicSource", storedName(draft.topicSource)},
                 {"defaultTopic", draft.defaultTopic},
                 {"avatarURL", draft.avatarURL},
                 {"runsPerDay", draft.runsPerDay},
                 {"runHours", Json(std::vector<int>(draft.runHours.begin(), draft.runHours.end()))}};
    putIfPresent(json, "favoriteID", draft.favoriteID);
    return json;
}

ScheduleDraft scheduleDraftFromJson(const JsonReader& reader) {
    ScheduleDraft draft;
    draft.favoriteID = reader.optionalString("favoriteID");
    const JsonReader source = reader.member("topicSource");
    const std::optional<ScheduleTopicSource> topicSource = scheduleTopicSourceFromStoredName(source.string());
    if (!topicSource) source.fail(QStringLiteral("is not manual, gaps or knowledge"));
    draft.topicSource = *topicSource;
    draft.defaultTopic = reader.requiredString("defaultTopic");
    draft.avatarURL = reader.requiredString("avatarURL");
    // Clamped right away: a huge stored count must not become a huge allocation later.
    draft.runsPerDay = int(std::clamp<std::int64_t>(reader.member("runsPerDay").integer(), -1, 1000));
    draft.runHours.clear();
    for (const JsonReader& hour : reader.member("runHours").array())
        draft.runHours.append(int(std::clamp<std::int64_t>(hour.integer(), -1, 24)));
    return draft;
}

ScheduleDraft sanitizedScheduleDraftShape(ScheduleDraft draft) {
    const int runs = std::clamp(draft.runsPerDay, 1, 6);
    QList<int> hours;
    for (int hour : draft.runHours)
        if (hour >= 0 && hour <= 23 && !hours.contains(hour)) hours.append(hour);
    // The defaults are `runs` distinct hours, so this always fills up.
    for (int slot = 0; slot < runs && hours.size() < runs; ++slot) {
        const int fallback = std::min(9 + slot, 23);
        if (!hours.contains(fallback)) hours.append(fallback);
    }
    draft.runsPerDay = runs;
    draft.runHours = hours.mid(0, runs);
    return draft;
}

std::optional<QString> validatedRemoteURLString(const std::optional<QString>& text) {
    if (!text) return std::nullopt;
    const QUrl url(*text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) return std::nullopt;
    if (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")) return std::nullopt;
    return text;
}

Json UGCPendingGenerationSnapshot::toJson() const {
    Json results = Json::array();
    for (const PublishResult& result : publishResults) results.push_back(result.toJson());
    Json json = {{"topic", topic},
                 {"selectedDuration", durationSeconds(selectedDuration)},
                 {"language", language},
                 {"publishResults", results},
                 {"step", stepName(step)},
                 {"updatedAt", isoDateText(updatedAt)}};
    putIfPresent(json, "selectedFavoriteID", selectedFavoriteID);
    putIfPresent(json, "selectedProductID", selectedProductID);
    putIfPresent(json, "reusedAvatarURL", reusedAvatarURL);
    putIfPresent(json, "script", script);
    putIfPresent(json, "title", title);
    putIfPresent(json, "dbID", dbID);
    putIfPresent(json, "generationID", generationID);
    putIfPresent(json, "avatarURL", avatarURL);
    putIfPresent(json, "videoURL", videoURL);
    putIfPresent(json, "errorMessage", errorMessage);
    return json;
}

UGCPendingGenerationSnapshot UGCPendingGenerationSnapshot::fromJson(const JsonReader& reader) {
    UGCPendingGenerationSnapshot snapshot;
    snapshot.topic = reader.requiredString("topic");
    snapshot.selectedFavoriteID = reader.optionalString("selectedFavoriteID");
    snapshot.selectedProductID = reader.optionalString("selectedProductID");
    snapshot.selectedDuration = durationFromJson(reader.member("selectedDuration"));
    snapshot.language = reader.requiredString("language");
    snapshot.reusedAvatarURL = reader.optionalString("reusedAvatarURL");
    snapshot.script = reader.optionalString("script");
    snapshot.title = reader.optionalString("title");
    snapshot.dbID = reader.optionalString("dbID");
    snapshot.generationID = reader.optionalString("generationID");
    snapshot.avatarURL = reader.optionalString("avatarURL");
    snapshot.videoURL = reader.optionalString("videoURL");
    snapshot.publishResults = reader.requiredList<PublishResult>("publishResults");
    const JsonReader step = reader.member("step");
    const std::optional<UGCStep> known = stepFromName(step.string());
    if (!known) step.fail(QStringLiteral("is not a step"));
    snapshot.step = *known;
    snapshot.errorMessage = reader.optionalString("errorMessage");
    snapshot.updatedAt = reader.member("updatedAt").date();
    return snapshot;
}

Json UGCWorkspacePreferences::toJson() const {
    Json json = {{"topic", topic},
                 {"language", language},
                 {"selectedDuration", durationSeconds(selectedDuration)},
                 {"avatarGender", avatarGender},
                 {"avatarOrigin", avatarOrigin},
                 {"avatarAgeRange", avatarAgeRange},
                 {"avatarType", avatarType},
                 {"avatarLocation", avatarLocation},
                 {"autoPublish", autoPublish},
                 {"isHistoryExpanded", isHistoryExpanded},
                 {"isSchedulesExpanded", isSchedulesExpanded},
                 {"isEmptyHistoryDismissed", isEmptyHistoryDismissed},
                 {"scheduleDraft", scheduleDraftToJson(scheduleDraft)}};
    putIfPresent(json, "selectedFavoriteID", selectedFavoriteID);
    putIfPresent(json, "selectedProductID", selectedProductID);
    putIfPresent(json, "reusedAvatarURL", reusedAvatarURL);
    putIfPresent(json, "avatarAutoMode", avatarAutoMode);
    if (!selectedPublishAccountIDs.isEmpty()) {
        Json chosen = Json::object();
        for (auto it = selectedPublishAccountIDs.cbegin(); it != selectedPublishAccountIDs.cend(); ++it)
            chosen[it.key().toStdString()] = it.value();
        json["selectedPublishAccountIDs"] = chosen;
    }
    if (pendingGeneration) json["pendingGeneration"] = pendingGeneration->toJson();
    return json;
}

UGCWorkspacePreferences UGCWorkspacePreferences::fromJson(const JsonReader& reader) {
    UGCWorkspacePreferences preferences;
    preferences.topic = reader.requiredString("topic");
    preferences.language = reader.requiredString("language");
    preferences.selectedFavoriteID = reader.optionalString("selectedFavoriteID");
    preferences.selectedProductID = reader.optionalString("selectedProductID");
    preferences.selectedDuration = durationFromJson(reader.member("selectedDuration"));
    preferences.reusedAvatarURL = reader.optionalString("reusedAvatarURL");
    preferences.avatarGender = reader.requiredString("avatarGender");
    preferences.avatarOrigin = reader.requiredString("avatarOrigin");
    preferences.avatarAgeRange = reader.requiredString("avatarAgeRange");
    preferences.avatarType = reader.requiredString("avatarType");
    preferences.avatarLocation = reader.requiredString("avatarLocation");
    preferences.avatarAutoMode = reader.optionalBool("avatarAutoMode");
    preferences.autoPublish = reader.member("autoPublish").boolean();
    // Records written before it have no such key.
    if (const auto chosen = reader.optionalMember("selectedPublishAccountIDs")) {
        if (!chosen->isObject()) chosen->fail(QStringLiteral("is not an object"));
        for (const auto& [key, id] : chosen->value().items())
            preferences.selectedPublishAccountIDs.insert(QString::fromStdString(key),
                                                         JsonReader(id, chosen->path() + "." + QString::fromStdString(key)).string());
    }
    preferences.isHistoryExpanded = reader.member("isHistoryExpanded").boolean();
    preferences.isSchedulesExpanded = reader.member("isSchedulesExpanded").boolean();
    preferences.isEmptyHistoryDismissed = reader.member("isEmptyHistoryDismissed").boolean();
    preferences.scheduleDraft = scheduleDraftFromJson(reader.member("scheduleDraft"));
    if (const auto pending = reader.optionalMember("pendingGeneration"))
        preferences.pendingGeneration = UGCPendingGenerationSnapshot::fromJson(*pending);
    return preferences;
}

}  // namespace vexora

#pragma once

#include "client/UGCHistoryRecords.h"
#include "client/UGCScheduleRecords.h"
#include "client/UGCTypes.h"
#include "foundation/JsonReader.h"
#include "workflow/UGCStep.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace vexora {

// A generation that was on screen when the record was written; it comes back on the next load.
struct UGCPendingGenerationSnapshot {
    QString topic;
    std::optional<QString> selectedFavoriteID;
    std::optional<QString> selectedProductID;
    UGCDuration selectedDuration = UGCDuration::five;
    QString language;
    std::optional<QString> reusedAvatarURL;
    std::optional<QString> script;
    std::optional<QString> title;
    std::optional<QString> dbID;
    std::optional<QString> generationID;
    std::optional<QString> avatarURL;
    std::optional<QString> videoURL;
    QList<PublishResult> publishResults;
    UGCStep step = UGCStep::idle;
    std::optional<QString> errorMessage;
    QDateTime updatedAt;

    bool operator==(const UGCPendingGenerationSnapshot&) const = default;
    Json toJson() const;
    static UGCPendingGenerationSnapshot fromJson(const JsonReader& reader);
};

// How the user left a workspace's generator; one record per tenant.
struct UGCWorkspacePreferences {
    QString topic;
    QString language = QStringLiteral("en");
    std::optional<QString> selectedFavoriteID;
    std::optional<QString> selectedProductID;
    UGCDuration selectedDuration = UGCDuration::five;
    std::optional<QString> reusedAvatarURL;
    QString avatarGender = QStringLiteral("female");
    QString avatarOrigin = QStringLiteral("european");
    QString avatarAgeRange = QStringLiteral("26-35");
    QString avatarType = QStringLiteral("tech_founder");
    QString avatarLocation = QStringLiteral("coffee_shop");
    std::optional<bool> avatarAutoMode;  // absent means on
    bool autoPublish = false;
    QMap<QString, QString> selectedPublishAccountIDs;  // account key -> connection id; optional in the record
    bool isHistoryExpanded = false;
    bool isSchedulesExpanded = false;
    bool isEmptyHistoryDismissed = false;
    ScheduleDraft scheduleDraft;
    std::optional<UGCPendingGenerationSnapshot> pendingGeneration;

    static const UGCWorkspacePreferences empty;

    bool operator==(const UGCWorkspacePreferences&) const = default;
    Json toJson() const;
    static UGCWorkspacePreferences fromJson(const JsonReader& reader);
};

Json scheduleDraftToJson(const ScheduleDraft& draft);
ScheduleDraft scheduleDraftFromJson(const JsonReader& reader);

// The draft as it may be stored: 1 to 6 runs, distinct hours 0 to 23, missing hours from 9 on.
// Favorite and avatar checks are the caller's; they need the workspace.
ScheduleDraft sanitizedScheduleDraftShape(ScheduleDraft draft);

// The text if it is an http or https URL with a host, else none.
std::optional<QString> validatedRemoteURLString(const std::optional<QString>& text);

}  // namespace vexora

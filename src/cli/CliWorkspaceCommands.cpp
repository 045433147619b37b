// vexora-ugc avatars and schedules: the workspace's reusable faces and automated runs.
#include "CliCommands.h"
#include "CliOutput.h"
#include "CliSession.h"
#include "panel/UGCScheduleTexts.h"

namespace vexora::cli {

namespace {

Json avatarJson(const AvatarListItem& avatar) {
    Json json = {{"id", text(avatar.id)}, {"avatar_url", text(avatar.avatarURL)}};
    if (avatar.createdAt) json["created_at"] = text(*avatar.createdAt);
    return json;
}

void printAvatars(const CliArguments& arguments, const QList<AvatarListItem>& avatars) {
    if (arguments.json) {
        Json list = Json::array();
        for (const AvatarListItem& avatar : avatars) list.push_back(avatarJson(avatar));
        printJson({{"avatars", list}});
        return;
    }
    for (const AvatarListItem& avatar : avatars) print(avatar.id + QStringLiteral("  ") + avatar.avatarURL);
}

void printSchedules(const CliArguments& arguments, const UGCAppState& state) {
    if (arguments.json) {
        Json list = Json::array();
        for (const UGCSchedule& schedule : state.schedules()) list.push_back(schedule.toJson());
        printJson({{"enabled", state.schedulesFeatureEnabled()}, {"schedules", list}});
        return;
    }
    if (!state.schedulesFeatureEnabled()) {
        print(QStringLiteral("Scheduling is disabled for this workspace."));
        return;
    }
    if (state.schedules().isEmpty()) print(QStringLiteral("No schedules yet."));
    for (const UGCSchedule& schedule : state.schedules())
        print(QStringList{schedule.id, UGCScheduleTexts::title(schedule),
                          schedule.isPaused ? QStringLiteral("Paused") : QStringLiteral("Active"), UGCScheduleTexts::summary(schedule)}
                  .join(QStringLiteral("  ")));
}

void loadAllAvatars(CliSession& session) {
    UGCAppState& state = session.state();
    session.waitUntil([&] { return !state.isAvatarsLoading(); });
    while (state.avatarsHasMore()) {
        const qsizetype before = state.avatars().size();
        state.fetchAvatars(false);
        session.waitUntil([&] { return !state.isAvatarsLoading(); });
        if (state.avatars().size() == before) break;
    }
}

// The workflow reports a failed action in errorMessage; a command turns it into its exit code.
int finish(const CliArguments& arguments, const UGCAppState& state) {
    return state.errorMessage() ? fail(arguments, *state.errorMessage()) : success;
}

}  // namespace

int runAvatars(const CliArguments& arguments) {
    const QString action = arguments.positional.value(0, QStringLiteral("list"));
    if (action != QLatin1String("list") && action != QLatin1String("generate") && action != QLatin1String("delete"))
        return usage(QStringLiteral("avatars takes list, generate or delete ID"));
    if (action == QLatin1String("delete") && arguments.positional.size() != 2) return usage(QStringLiteral("avatars delete needs an ID"));
    int exitCode = success;
    const auto session = signedInSession(arguments, exitCode);
    if (!session) return exitCode;
    UGCAppState& state = session->state();
    state.setErrorMessage(std::nullopt);
    // The first page arrives with the context; a new face goes in front of it.
    session->waitUntil([&] { return !state.isAvatarsLoading(); });
    if (action == QLatin1String("generate")) {
        state.generateStandaloneAvatar();
        session->waitUntil([&] { return !state.isGeneratingAvatar(); });
        // The new face is selected at once; the library lists it, with its id, once reloaded.
        session->waitUntil([&] { return !state.isAvatarsLoading(); });
        if (state.errorMessage()) return finish(arguments, state);
        const QString made = state.reusedAvatarURL().value_or(QString());
        const auto& avatars = state.avatars();
        const auto found = std::find_if(avatars.begin(), avatars.end(), [&](const AvatarListItem& a) { return a.avatarURL == made; });
        if (found == avatars.end()) return fail(arguments, QStringLiteral("The new avatar is not in the library yet: ") + made);
        printAvatars(arguments, {*found});
        return success;
    }
    loadAllAvatars(*session);
    if (action == QLatin1String("list")) {
        printAvatars(arguments, state.avatars());
        return success;
    }
    const QString id = arguments.positional[1];
    const auto& avatars = state.avatars();
    const auto found = std::find_if(avatars.begin(), avatars.end(), [&](const AvatarListItem& avatar) { return avatar.id == id; });
    if (found == avatars.end()) return fail(arguments, QStringLiteral("No avatar with id ") + id);
    state.deleteAvatar(*found);
    session->waitUntil([&] { return !state.deletingAvatarIDs().contains(id); });
    if (const int code = finish(arguments, state)) return code;
    arguments.json ? printJson({{"deleted", text(id)}}) : print(QStringLiteral("Deleted ") + id);
    return success;
}

int runSchedules(const CliArguments& arguments) {
    const QString action = arguments.positional.value(0, QStringLiteral("list"));
    const QStringList withID{QStringLiteral("pause"), QStringLiteral("resume"), QStringLiteral("delete")};
    if (action != QLatin1String("list") && action != QLatin1String("create") && !withID.contains(action))
        return usage(QStringLiteral("schedules takes list, create, pause ID, resume ID or delete ID"));
    if (withID.contains(action) && arguments.positional.size() != 2) return usage(QStringLiteral("schedules %1 needs an ID").arg(action));
    // --source and --runs are among their choices: the parser saw to it.
    std::optional<ScheduleTopicSource> source;
    if (auto name = arguments.value(QStringLiteral("source"))) source = scheduleTopicSourceFromStoredName(*name);
    const int runs = arguments.value(QStringLiteral("runs")).value_or(QStringLiteral("1")).toInt();
    int exitCode = success;
    const auto session = signedInSession(arguments, exitCode);
    if (!session) return exitCode;
    UGCAppState& state = session->state();
    state.setErrorMessage(std::nullopt);
    if (action == QLatin1String("list")) {
        printSchedules(arguments, state);
        return success;
    }
    if (!state.schedulesFeatureEnabled()) return fail(arguments, QStringLiteral("Scheduling is disabled for this workspace."));

    if (action == QLatin1String("create")) {
        ScheduleDraft draft;
        draft.favoriteID = arguments.value(QStringLiteral("favorite"));
        if (source) draft.topicSource = *source;
        draft.defaultTopic = arguments.value(QStringLiteral("topic")).value_or(QString());
        draft.avatarURL = arguments.value(QStringLiteral("avatar")).value_or(QString());
        state.setScheduleDraft(draft);
        state.setScheduleRunsPerDay(runs);
        if (const auto problem = state.scheduleDraft().validationError()) return fail(arguments, *problem);
        const qsizetype before = state.schedules().size();
        state.createSchedule();
        session->waitUntil([&] { return state.schedules().size() != before || state.errorMessage(); }, 120);
    } else {
        const QString id = arguments.positional[1];
        const auto& schedules = state.schedules();
        const auto found = std::find_if(schedules.begin(), schedules.end(), [&](const UGCSchedule& s) { return s.id == id; });
        if (found == schedules.end()) return fail(arguments, QStringLiteral("No schedule with id ") + id);
        const bool wantsPaused = action == QLatin1String("pause");
        if (action == QLatin1String("delete")) state.deleteSchedule(*found);
        else if (found->isPaused != wantsPaused) state.toggleSchedule(*found);
        session->waitUntil([&] { return !state.mutatingScheduleIDs().contains(id); });
    }
    if (const int code = finish(arguments, state)) return code;
    printSchedules(arguments, state);
    return success;
}

}  // namespace vexora::cli

// vexora-ugc history and download: the workspace's past runs and their videos.
#include "CliCommands.h"
#include "CliOutput.h"
#include "CliSession.h"

#include <QFileInfo>

namespace vexora::cli {

namespace {

Json historyJson(const UGCHistoryItem& item) {
    Json json = {{"id", text(item.id)}};
    const std::pair<const char*, const std::optional<QString>*> fields[] = {
        {"title", &item.title}, {"topic", &item.topic}, {"video_url", &item.videoURL},
        {"created_at", &item.createdAt}, {"schedule_id", &item.scheduleID}};
    for (const auto& [key, value] : fields)
        if (*value) json[key] = text(**value);
    Json results = Json::array();
    if (item.publishResults)
        for (const PublishResult& result : item.publishResults->results) results.push_back(result.toJson());
    json["publish_results"] = results;
    return json;
}

void loadAllHistory(CliSession& session) {
    UGCAppState& state = session.state();
    while (state.historyHasMore()) {
        const qsizetype before = state.history().size();
        state.loadMoreHistory();
        session.waitUntil([&] { return !state.isHistoryLoading(); });
        if (state.history().size() == before) break;  // a failed page: what is loaded is what there is
    }
}

}  // namespace

int runHistory(const CliArguments& arguments) {
    int exitCode = success;
    const auto session = signedInSession(arguments, exitCode);
    if (!session) return exitCode;
    UGCAppState& state = session->state();
    if (arguments.has(QStringLiteral("more"))) {
        state.loadMoreHistory();
        session->waitUntil([&] { return !state.isHistoryLoading(); });
    }
    if (arguments.json) {
        Json items = Json::array();
        for (const UGCHistoryItem& item : state.history()) items.push_back(historyJson(item));
        printJson({{"items", items}, {"has_more", state.historyHasMore()}});
        return success;
    }
    for (const UGCHistoryItem& item : state.history()) {
        const int failed = item.publishResults ? int(std::count_if(item.publishResults->results.begin(),
                                                                   item.publishResults->results.end(),
                                                                   [](const PublishResult& r) { return r.didFail(); }))
                                               : 0;
        QString line = item.id + QStringLiteral("  ") + item.title.value_or(item.topic.value_or(QStringLiteral("(untitled)")));
        if (failed) line += QStringLiteral("  [%1 failed publish]").arg(failed);
        print(line);
    }
    if (state.historyHasMore()) print(QStringLiteral("(more with --more)"));
    return success;
}

int runDownload(const CliArguments& arguments) {
    const std::optional<QString> output = arguments.value(QStringLiteral("output"));
    if (arguments.positional.size() != 1 || !output || output->isEmpty())
        return usage(QStringLiteral("download needs ID or current, and --output FILE"));
    int exitCode = success;
    const auto session = signedInSession(arguments, exitCode);
    if (!session) return exitCode;
    UGCAppState& state = session->state();
    const QString destination = QFileInfo(*output).absoluteFilePath();
    state.saveLocationChooser = [destination](const QString&, std::function<void(const std::optional<QString>&)> chosen) {
        chosen(destination);
    };
    state.setErrorMessage(std::nullopt);
    const QString which = arguments.positional.first();
    if (which == QLatin1String("current")) {
        if (!state.videoURL()) return fail(arguments, QStringLiteral("No video yet: generate one first."));
        state.downloadVideo();
    } else {
        loadAllHistory(*session);
        const auto& history = state.history();
        const auto found = std::find_if(history.begin(), history.end(), [&](const UGCHistoryItem& item) { return item.id == which; });
        if (found == history.end() || !found->videoURL) return fail(arguments, QStringLiteral("No video in history with id ") + which);
        state.presentVideoDownload(QUrl(*found->videoURL), QStringLiteral("vexora-ugc-") + found->id + QStringLiteral(".mp4"));
    }
    session->waitUntil([&] { return !state.isDownloadingVideo(); });
    if (state.errorMessage()) return fail(arguments, *state.errorMessage());
    arguments.json ? printJson({{"path", text(destination)}}) : print(QStringLiteral("Saved ") + destination);
    return success;
}

}  // namespace vexora::cli

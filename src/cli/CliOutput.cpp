#include "CliOutput.h"

#include "CliCommands.h"
#include "workflow/UGCAppState.h"

#include <cstdio>

namespace vexora::cli {

void print(const QString& line) { std::printf("%s\n", qPrintable(line)); }

void printJson(const Json& json) { std::printf("%s\n", json.dump(2).c_str()); }

void printJsonLine(const Json& json) {
    std::printf("%s\n", json.dump().c_str());
    std::fflush(stdout);  // a reader of the pipe sees each line as it comes
}

std::string text(const QString& value) { return value.toStdString(); }

int fail(const CliArguments& arguments, const QString& message) {
    std::fprintf(stderr, "vexora-ugc: %s\n", qPrintable(message));
    if (arguments.json) printJson({{"error", text(message)}});
    return failure;
}

int usage(const QString& message) {
    std::fprintf(stderr, "vexora-ugc: %s (see vexora-ugc --help)\n", qPrintable(message));
    return usageError;
}

void printRunResult(const CliArguments& arguments, const UGCAppState& state) {
    arguments.json ? printJson(runResultJson(state)) : printRunResultText(state);
}

Json runResultJson(const UGCAppState& state) {
    Json results = Json::array();
    for (const PublishResult& result : state.publishResults()) results.push_back(result.toJson());
    Json json = {{"step", text(stepName(state.step()))}, {"publish_results", results}};
    if (state.title()) json["title"] = text(*state.title());
    if (state.videoURL()) json["video_url"] = text(*state.videoURL());
    if (state.dbID()) json["db_id"] = text(*state.dbID());
    if (state.script()) json["script"] = text(*state.script());
    return json;
}

void printRunResultText(const UGCAppState& state) {
    if (state.title()) print(*state.title());
    if (state.videoURL()) print(QStringLiteral("Video: ") + *state.videoURL());
    for (const PublishResult& result : state.publishResults()) {
        QString line = result.platform + QStringLiteral(": ") +
                       (result.didFail() ? QStringLiteral("Publish failed") : QStringLiteral("Publish succeeded"));
        if (result.postID) line += QStringLiteral(", post ") + *result.postID;
        if (result.didFail() && result.error) line += QStringLiteral(" (") + *result.error + QLatin1Char(')');
        print(line);
    }
}

}  // namespace vexora::cli

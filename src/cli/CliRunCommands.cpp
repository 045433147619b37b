// vexora-ugc publish and suggest: the run's follow-ups and the topic ideas.
#include "CliCommands.h"
#include "CliOutput.h"
#include "CliSession.h"

namespace vexora::cli {

int runPublish(const CliArguments& arguments) {
    int exitCode = success;
    const auto session = signedInSession(arguments, exitCode);
    if (!session) return exitCode;
    UGCAppState& state = session->state();
    // The last run comes back from the workspace preferences, as in the tray app.
    if (!state.canPublishCurrent()) return fail(arguments, QStringLiteral("Nothing to publish: generate a video first."));
    const bool retryFailed = arguments.has(QStringLiteral("retry-failed"));
    if (retryFailed && state.failedPublishTargets().isEmpty()) return fail(arguments, QStringLiteral("No failed publish to retry."));
    state.setErrorMessage(std::nullopt);
    state.publishCurrent(retryFailed);
    session->waitUntil([&] { return !state.isRunActive(); });
    if (state.step() == UGCStep::error || state.errorMessage())
        return fail(arguments, state.errorMessage().value_or(QStringLiteral("The last operation failed.")));
    printRunResult(arguments, state);
    return anyPublishFailed(state.publishResults()) ? failure : success;
}

int runSuggest(const CliArguments& arguments) {
    int exitCode = success;
    const auto session = signedInSession(arguments, exitCode);
    if (!session) return exitCode;
    UGCAppState& state = session->state();
    state.setErrorMessage(std::nullopt);
    state.suggest(arguments.has(QStringLiteral("knowledge")));
    session->waitUntil([&] { return !state.isSuggesting(); });
    if (state.errorMessage()) return fail(arguments, *state.errorMessage());
    if (arguments.json) {
        Json list = Json::array();
        for (const Suggestion& suggestion : state.suggestions()) {
            Json item = {{"id", text(suggestion.id())}, {"source", text(suggestion.source)}, {"topic", text(suggestion.topic)}};
            if (suggestion.hook) item["hook"] = text(*suggestion.hook);
            list.push_back(item);
        }
        printJson({{"suggestions", list}});
    } else {
        for (const Suggestion& suggestion : state.suggestions()) print(suggestion.topic);
    }
    return success;
}

}  // namespace vexora::cli

// The generation pipeline's replies: suggestions, script, avatar, video, poll and publish.

#include "FuzzHarness.h"

#include "client/UGCGenerationRecords.h"

using namespace vexora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::dispatch(data, size, {
        [](const QByteArray& body) {
            if (auto reply = fuzz::decodedBody<SuggestionsResponse>(body))
                for (const Suggestion& suggestion : reply->suggestions) suggestion.id();
        },
        [](const QByteArray& body) { fuzz::decodedBody<ScriptResponse>(body); },
        [](const QByteArray& body) { fuzz::decodedBody<AvatarResponse>(body); },
        [](const QByteArray& body) { fuzz::decodedBody<VideoResponse>(body); },
        [](const QByteArray& body) { fuzz::decodedBody<PollResponse>(body); },
        [](const QByteArray& body) {
            const auto reply = fuzz::decodedBody<PublishResponse>(body);
            if (!reply) return;
            // Results are kept in the workspace preferences and printed by the CLI in this form.
            for (const PublishResult& result : reply->results) fuzz::checkJsonRoundTrip(result);
            anyPublishFailed(reply->results);
        },
    });
    return 0;
}

// The history (with its tolerant publish results) and the avatar library replies.

#include "FuzzHarness.h"

#include "client/UGCHistoryRecords.h"

using namespace vexora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::dispatch(data, size, {
        [](const QByteArray& body) {
            const auto reply = fuzz::decodedBody<HistoryResponse>(body);
            if (!reply) return;
            for (const UGCHistoryItem& item : reply->items)
                if (item.publishResults)
                    for (const PublishResult& result : item.publishResults->results) fuzz::checkJsonRoundTrip(result);
        },
        [](const QByteArray& body) { fuzz::decodedBody<AvatarListResponse>(body); },
        [](const QByteArray& body) { fuzz::decodedBody<StandaloneAvatarResponse>(body); },
        [](const QByteArray& body) { fuzz::decodedBody<AvatarDeleteResponse>(body); },
    });
    return 0;
}

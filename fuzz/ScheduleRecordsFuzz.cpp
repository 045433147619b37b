// The schedule list and mutation replies; a schedule also reads back from the form it is printed in.

#include "FuzzHarness.h"

#include "client/UGCScheduleRecords.h"

using namespace vexora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::dispatch(data, size, {
        [](const QByteArray& body) {
            if (auto reply = fuzz::decodedBody<SchedulesResponse>(body))
                for (const UGCSchedule& schedule : reply->schedules) fuzz::checkJsonRoundTrip(schedule);
        },
        [](const QByteArray& body) {
            const auto reply = fuzz::decodedBody<ScheduleMutationResponse>(body);
            if (reply && reply->schedule) fuzz::checkJsonRoundTrip(*reply->schedule);
        },
    });
    return 0;
}

// The stored workspace preferences, the pending generation in them and the schedule draft:
// whatever decodes is written and read back as the same value, as the store does.

#include "FuzzHarness.h"

#include "workflow/UGCWorkspacePreferences.h"

using namespace vexora;

namespace {

struct StoredDraft {
    ScheduleDraft draft;
    bool operator==(const StoredDraft&) const = default;
    Json toJson() const { return scheduleDraftToJson(draft); }
    static StoredDraft fromJson(const JsonReader& reader) { return {scheduleDraftFromJson(reader)}; }
};

// The sanitized shape is what the builder may submit, and sanitizing it again changes nothing.
void checkSanitizedShape(const ScheduleDraft& stored) {
    ScheduleDraft draft = sanitizedScheduleDraftShape(stored);
    fuzz::check(sanitizedScheduleDraftShape(draft) == draft, "sanitizing a sanitized draft changed it");
    draft.favoriteID = QStringLiteral("fav");
    draft.defaultTopic = QStringLiteral("topic");
    draft.avatarURL = QStringLiteral("https://a.example/a.png");
    fuzz::check(!draft.validationError(), "a sanitized draft breaks a shape rule");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::dispatch(data, size, {
        [](const QByteArray& body) {
            const auto preferences = fuzz::decodedBody<UGCWorkspacePreferences>(body);
            if (!preferences) return;
            fuzz::checkJsonRoundTrip(*preferences);
            checkSanitizedShape(preferences->scheduleDraft);
        },
        [](const QByteArray& body) {
            if (auto snapshot = fuzz::decodedBody<UGCPendingGenerationSnapshot>(body)) fuzz::checkJsonRoundTrip(*snapshot);
        },
        [](const QByteArray& body) {
            const auto stored = fuzz::decodedBody<StoredDraft>(body);
            if (!stored) return;
            fuzz::checkJsonRoundTrip(*stored);
            checkSanitizedShape(stored->draft);
        },
    });
    return 0;
}

#include "client/UGCHistoryRecords.h"
#include "client/UGCScheduleRecords.h"
#include "foundation/FoundationErrors.h"

#include <gtest/gtest.h>

using namespace vexora;

namespace {

template <typename T>
T decode(const char* text) {
    return T::fromJson(JsonReader::parse(QByteArray(text)));
}

// The path of the key a reply was rejected for; none when it decoded.
template <typename T>
std::optional<QString> rejectedPath(const char* text) {
    try {
        decode<T>(text);
    } catch (const DecodingError& error) {
        return error.path();
    }
    return std::nullopt;
}

const char* const scheduleKeys = R"("id": "s1", "favorite_id": "f1", "runs_per_day": 1, "run_hours": [9])";

UGCSchedule schedule(const std::string& extraKeys) {
    const std::string text = std::string("{") + scheduleKeys + extraKeys + "}";
    return decode<UGCSchedule>(text.c_str());
}

}  // namespace

TEST(PublishResult, StatusFallsBackToOkAndUrlKeysAreTriedInOrder) {
    EXPECT_EQ(decode<PublishResult>(R"({"platform": "tiktok", "ok": true})").status, "success");
    EXPECT_EQ(decode<PublishResult>(R"({"platform": "tiktok", "ok": false})").status, "failed");
    EXPECT_EQ(decode<PublishResult>(R"({"platform": "tiktok"})").status, "failed");
    EXPECT_EQ(decode<PublishResult>(R"({"platform": "tiktok", "ok": true, "status": "queued"})").status, "queued");

    EXPECT_EQ(decode<PublishResult>(R"({"platform": "x", "permalink": "p"})").url, QStringLiteral("p"));
    EXPECT_EQ(decode<PublishResult>(R"({"platform": "x", "permalink": "p", "post_url": "b", "url": "a"})").url,
              QStringLiteral("a"));
    EXPECT_EQ(decode<PublishResult>(R"({"platform": "x", "permalink_url": "z", "youtube_url": "y"})").url,
              QStringLiteral("y"));

    EXPECT_EQ(rejectedPath<PublishResult>(R"({"ok": true})"), "platform");
    EXPECT_EQ(decode<PublishResult>(R"({"platform": "x"})").toJson(), (Json{{"platform", "x"}, {"status", "failed"}}))
        << "absent keys are omitted";
}

TEST(PublishResult, ErrorIsATextOrAnObjectsMessageElseCodeAndAnythingElseIsDropped) {
    auto error = [](const char* value) {
        return decode<PublishResult>((std::string(R"({"platform": "x", "error": )") + value + "}").c_str()).error;
    };
    EXPECT_EQ(error(R"("boom")"), QStringLiteral("boom"));
    EXPECT_EQ(error(R"({"code": "E1"})"), QStringLiteral("E1"));
    EXPECT_EQ(error(R"({"code": "E1", "message": "bad"})"), QStringLiteral("bad"));
    EXPECT_EQ(error("42"), std::nullopt);
    EXPECT_EQ(error("{}"), std::nullopt);
    EXPECT_EQ(error(R"({"code": "E1", "message": 5})"), std::nullopt) << "a mistyped member spoils the whole object";
}

TEST(UGCHistoryItem, EitherDurationKeyAndAnyPublishResultsShapeDecodeAndJunkNeverFailsTheItem) {
    EXPECT_EQ(decode<UGCHistoryItem>(R"({"id": "h", "duration": 10, "duration_seconds": 12})").durationSeconds, 10);
    EXPECT_EQ(decode<UGCHistoryItem>(R"({"id": "h", "duration_seconds": 12})").durationSeconds, 12);

    const auto payload = decode<UGCHistoryItem>(
        R"({"id": "h", "publish_results": {"results": [{"platform": "tiktok", "ok": true}],
            "metadataProvider": "gemini", "timings": {"upload": 2, "render": 1.5}}})").publishResults;
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->results.size(), 1);
    EXPECT_EQ(payload->metadataProvider, QStringLiteral("gemini"));
    EXPECT_EQ(payload->timings, (std::map<QString, double>{{"render", 1.5}, {"upload", 2.0}}));

    const auto bare = decode<UGCHistoryItem>(R"({"id": "h", "publish_results": [{"platform": "tiktok"}]})").publishResults;
    EXPECT_EQ(bare, (PublishResultsPayload{{decode<PublishResult>(R"({"platform": "tiktok"})")}, std::nullopt, std::nullopt}));

    for (const char* junk : {R"("oops")", "null", "{}", R"({"results": [], "timings": {"render": "slow"}})", "[1]"}) {
        const std::string text = std::string(R"({"id": "h", "title": "t", "publish_results": )") + junk + "}";
        const UGCHistoryItem item = decode<UGCHistoryItem>(text.c_str());
        EXPECT_EQ(item.publishResults, std::nullopt) << junk;
        EXPECT_EQ(item.title, QStringLiteral("t")) << junk;
    }
}

TEST(LibraryReplies, AMissingRequiredKeyFailsTheWholeReply) {
    EXPECT_EQ(rejectedPath<HistoryResponse>(R"({"items": [{"id": "a"}, {"topic": "t"}], "has_more": false})"), "items[1].id");
    EXPECT_EQ(rejectedPath<HistoryResponse>(R"({"items": []})"), "has_more");
    EXPECT_EQ(rejectedPath<AvatarListResponse>(R"({"items": [{"id": "a"}]})"), "items[0].avatar_url");
    EXPECT_EQ(rejectedPath<AvatarListResponse>(R"({"items": []})"), std::nullopt) << "paging keys are optional for avatars";
    EXPECT_EQ(rejectedPath<StandaloneAvatarResponse>(R"({"generation_id": "g"})"), "avatar_url");
    EXPECT_EQ(rejectedPath<AvatarDeleteResponse>(R"({"deleted": true, "avatar_id": "a"})"), "avatar_url");
    EXPECT_EQ(rejectedPath<SchedulesResponse>(R"({"schedules": [{"id": "s", "favorite_id": "f", "runs_per_day": 1}]})"),
              "schedules[0].run_hours");
    EXPECT_EQ(rejectedPath<ScheduleMutationResponse>("[]"), QString()) << "a deletion reply must be an object";
}

TEST(UGCSchedule, DecodesTolerantlyAndPrintsTheWireNames) {
    EXPECT_TRUE(schedule(R"(, "is_enabled": false)").isPaused);
    EXPECT_FALSE(schedule("").isPaused);
    EXPECT_FALSE(schedule(R"(, "is_paused": false, "is_enabled": false)").isPaused);

    EXPECT_EQ(schedule(R"(, "topic_source": "manual")").topicSource, ScheduleTopicSource::manual);
    EXPECT_EQ(schedule(R"(, "topic_source": "knowledge")").topicSource, ScheduleTopicSource::knowledge);
    for (const char* gaps : {R"(, "topic_source": "gap")", R"(, "topic_source": "gaps")", R"(, "topic_source": "trends")", ""})
        EXPECT_EQ(schedule(gaps).topicSource, ScheduleTopicSource::gaps) << gaps;

    EXPECT_EQ(schedule(R"(, "default_avatar_config": {"avatar_url": "cfg"})").avatarURL, "cfg");
    EXPECT_EQ(schedule(R"(, "avatar_url": "own", "default_avatar_config": {"avatar_url": "cfg"})").avatarURL, "own");
    EXPECT_EQ(schedule("").avatarURL, "");
    for (const char* ownURL : {"", R"("avatar_url": "own",)"})
        EXPECT_EQ(rejectedPath<UGCSchedule>(QStringLiteral(R"({"id": "s", "favorite_id": "f", "runs_per_day": 1, "run_hours": [], %1
                                                          "default_avatar_config": {}})").arg(ownURL).toUtf8().constData()),
                  "default_avatar_config.avatar_url") << ownURL;

    ScheduleDraft draft;
    draft.favoriteID = QStringLiteral("f");
    draft.avatarURL = QStringLiteral("a");
    draft.defaultTopic = QStringLiteral("t");
    draft.runHours = schedule(R"(, "run_hours": [4294967305])").runHours;  // 2^32 + 9
    EXPECT_EQ(draft.validationError(), QStringLiteral("Run hours must be 0-23.")) << "no wrap-around to 9 o'clock";

    const Json printed = schedule(R"(, "is_paused": true)").toJson();
    EXPECT_EQ(printed.at("topic_source"), "gap");
    EXPECT_EQ(printed.at("is_enabled"), false);
    EXPECT_FALSE(printed.contains("default_topic"));
}

TEST(ScheduleDraft, ValidationReportsTheFirstBrokenRule) {
    ScheduleDraft draft;
    EXPECT_EQ(draft.validationError(), QStringLiteral("Choose a favorite first.")) << "not the empty manual topic";
    draft.favoriteID = QString();
    EXPECT_EQ(draft.validationError(), QStringLiteral("Choose a favorite first."));
    draft.favoriteID = QStringLiteral("f1");
    draft.defaultTopic = QStringLiteral(" \n\t");
    EXPECT_EQ(draft.validationError(), QStringLiteral("Manual schedules need a default topic."));
    draft.topicSource = ScheduleTopicSource::gaps;
    draft.avatarURL = QStringLiteral("\n ");
    EXPECT_EQ(draft.validationError(), QStringLiteral("Choose or generate an avatar first.")) << "gaps need no topic";
    draft.avatarURL = QStringLiteral("https://cdn.test/a.png");
    EXPECT_EQ(draft.validationError(), std::nullopt) << "the empty draft's one run at 9 is valid";

    const std::tuple<int, QList<int>, const char*> runs[] = {{0, {}, "Runs per day must be 1-6."},
        {7, {0, 1, 2, 3, 4, 5, 6}, "Runs per day must be 1-6."}, {3, {9, 10}, "Run hours must match runs per day."},
        {3, {9, 9, 10}, "Run hours must be unique."}, {3, {9, 10, 24}, "Run hours must be 0-23."}, {2, {-1, 5}, "Run hours must be 0-23."}};
    for (const auto& [perDay, hours, expected] : runs) {
        std::tie(draft.runsPerDay, draft.runHours) = std::pair(perDay, hours);
        EXPECT_EQ(draft.validationError(), QString::fromUtf8(expected)) << perDay << " a day: " << expected;
    }
}

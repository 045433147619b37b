#include "workflow/WorkflowFixture.h"

using namespace vexora;
using namespace vexora::test;

namespace {

class HistoryAndSchedulesTest : public WorkflowFixture {
protected:
    const std::string historyPath = "/api/dashboard/shorts/history";

    UGCSchedule scheduleWithID(const QString& id) {
        for (const UGCSchedule& schedule : state->schedules())
            if (schedule.id == id) return schedule;
        ADD_FAILURE() << "no schedule " << id.toStdString();
        return {};
    }
};

}  // namespace

TEST_F(HistoryAndSchedulesTest, OlderHistoryPagesAppendOneAtATime) {
    signInDemo();
    ASSERT_EQ(state->history().size(), 50);
    state->loadMoreHistory();
    state->loadMoreHistory();  // one page at a time
    ASSERT_TRUE(waitUntil([&] { return !state->isHistoryLoading(); }));
    EXPECT_EQ(state->history().size(), 64);
    EXPECT_EQ(server.requests(historyPath).size(), 1u);
    const std::string cursor = "before=" + state->history()[49].id.toStdString();
    EXPECT_NE(server.requests(historyPath).back().query.find(cursor), std::string::npos);
    EXPECT_FALSE(state->historyHasMore());
    state->loadMoreHistory();
    EXPECT_EQ(server.requests(historyPath).size(), 1u) << "no more pages: nothing is sent";

    state->fetchContext();
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    server.script("GET", historyPath, Json::array({{{"status", 500}, {"body", R"({"error":"History is down"})"}}}));
    state->loadMoreHistory();
    ASSERT_TRUE(waitUntil([&] { return !state->isHistoryLoading(); }));
    EXPECT_TRUE(state->errorMessage()->startsWith("History is down"));
    EXPECT_EQ(state->history().size(), 50);
    EXPECT_TRUE(state->historyHasMore());
}

TEST_F(HistoryAndSchedulesTest, PrefillCopiesTopicFavoriteAvatarAndKnownDurations) {
    signInDemo();
    state->setSelectedDuration(UGCDuration::ten);
    UGCHistoryItem entry;
    entry.id = "gen-x";
    entry.title = QStringLiteral("From the title");
    entry.favoriteID = QStringLiteral("fav-2");
    entry.avatarURL = QStringLiteral("https://cdn.test/face.png");
    entry.durationSeconds = 12;
    state->prefillFromHistory(entry);
    EXPECT_EQ(state->topic(), "From the title");
    EXPECT_EQ(state->selectedFavoriteID(), QStringLiteral("fav-2"));
    EXPECT_EQ(state->scheduleDraft().favoriteID, QStringLiteral("fav-2"));
    EXPECT_EQ(state->reusedAvatarURL(), entry.avatarURL);
    EXPECT_EQ(state->selectedDuration(), UGCDuration::ten) << "12 s is no duration of ours";

    UGCHistoryItem bare;
    bare.id = "gen-y";
    bare.durationSeconds = 15;
    state->prefillFromHistory(bare);
    EXPECT_EQ(state->topic(), "");
    EXPECT_EQ(state->selectedFavoriteID(), std::nullopt);
    EXPECT_EQ(state->reusedAvatarURL(), std::nullopt);
    EXPECT_EQ(state->scheduleDraft().avatarURL, "");
    EXPECT_EQ(state->selectedDuration(), UGCDuration::fifteen);
}

TEST_F(HistoryAndSchedulesTest, TheBuilderCreatesAScheduleAndStartsOver) {
    signInDemo();
    ScheduleDraft draft = state->scheduleDraft();
    draft.favoriteID = QStringLiteral("fav-1");
    draft.defaultTopic = QStringLiteral("Weekly linen tips");
    draft.avatarURL = QStringLiteral("https://cdn.test/face.png");
    draft.runHours = {10};
    state->setScheduleDraft(draft);
    state->setScheduleRunsPerDay(2);
    EXPECT_EQ(state->scheduleDraft().runHours, (QList<int>{10, 10}));
    EXPECT_EQ(state->scheduleDraft().validationError(), QStringLiteral("Run hours must be unique."));
    server.clearLog();
    state->createSchedule();
    spin(100);
    EXPECT_TRUE(server.requests("/api/dashboard/shorts/schedules").empty()) << "an invalid draft is not sent";

    state->setScheduleRunsPerDay(1);
    state->setScheduleRunsPerDay(3);
    EXPECT_EQ(state->scheduleDraft().runHours, (QList<int>{10, 10, 11})) << "count + 9, no repeat check";
    draft = state->scheduleDraft();
    draft.runHours = {8, 12, 18};
    state->setScheduleDraft(draft);
    state->setLanguage("de");
    state->createSchedule();
    ASSERT_TRUE(waitUntil([&] { return state->schedules().size() == 4; }));
    const Json body = onlyBody("/api/dashboard/shorts/schedules", "POST");
    EXPECT_EQ(body.at("run_hours"), Json::parse("[8,12,18]"));
    EXPECT_EQ(body.at("default_language"), "de");
    EXPECT_EQ(state->scheduleDraft(), ScheduleDraft{}) << "the whole draft resets, favorite included";
}

// Deleting: SchedulesSection.DeletingAsksInsideTheRowFirst.
TEST_F(HistoryAndSchedulesTest, APausedScheduleResumesWithOneRequestAtATime) {
    signInDemo();
    const UGCSchedule paused = scheduleWithID("sched-3");
    ASSERT_TRUE(paused.isPaused);
    state->toggleSchedule(paused);
    state->toggleSchedule(paused);  // ignored while the first is in flight
    EXPECT_TRUE(state->mutatingScheduleIDs().contains("sched-3"));
    ASSERT_TRUE(waitUntil([&] { return state->mutatingScheduleIDs().isEmpty(); }));
    EXPECT_FALSE(scheduleWithID("sched-3").isPaused);
    const auto updates = server.requests("/api/dashboard/shorts/schedules/sched-3");
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(Json::parse(updates[0].body).at("is_enabled"), true) << "a paused schedule resumes";
}

#include "workflow/WorkflowFixture.h"

using namespace vexora;
using namespace vexora::test;

namespace {

class WorkspacePreferencesTest : public WorkflowFixture {
protected:
    const QString tenant = QStringLiteral("tenant-demo");

    std::optional<UGCWorkspacePreferences> stored() { return makeStore()->load(tenant); }

    void storeRaw(const QString& tenantID, const QByteArray& value) {
        QSettings settings(scratch.filePath("settings.ini"), QSettings::IniFormat);
        settings.setValue(UGCWorkspacePreferencesStore::key(tenantID), value);
    }

    // A fresh app on the same settings, signed in to the same workspace.
    void relaunch() {
        makeState(UGCRuntimeConfiguration{});
        signInDemo();
    }
};

Json validRecord() {
    UGCWorkspacePreferences record;
    record.topic = QStringLiteral("Stored topic");
    return record.toJson();
}

}  // namespace

TEST_F(WorkspacePreferencesTest, ChoicesComeBackForTheirWorkspace) {
    storeRaw("tenant-other", encodeJson(validRecord()));
    signInDemo();
    state->setTopic("Linen for summer");
    state->setSelectedFavoriteID(QStringLiteral("fav-3"));
    state->setSelectedDuration(UGCDuration::fifteen);
    state->setLanguage("fr");
    state->setAvatarAutoMode(false);
    state->setAvatarOrigin("asian");
    state->setIsHistoryExpanded(true);
    state->setSelectedPublishAccountID(QStringLiteral("acct-tt-1"), UGCPlatform::tiktok);
    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->topic, "Linen for summer") << "every change is written at once";
    EXPECT_EQ(stored()->pendingGeneration, std::nullopt);

    state->signOut();
    ASSERT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
    EXPECT_EQ(state->topic(), "Linen for summer") << "sign-out clears the workspace, not the form";
    relaunch();
    EXPECT_EQ(state->topic(), "Linen for summer");
    EXPECT_EQ(state->selectedFavoriteID(), QStringLiteral("fav-3"));
    EXPECT_EQ(state->scheduleDraft().favoriteID, std::nullopt) << "the draft keeps its own stored favorite";
    EXPECT_EQ(state->selectedDuration(), UGCDuration::fifteen);
    EXPECT_EQ(state->language(), "fr");
    EXPECT_FALSE(state->avatarAutoMode());
    EXPECT_EQ(state->avatarOrigin(), "asian");
    EXPECT_TRUE(state->isHistoryExpanded());
    EXPECT_EQ(state->selectedPublishAccountID(UGCPlatform::tiktok), QStringLiteral("acct-tt-1"));
    EXPECT_EQ(makeStore()->load("tenant-other")->topic, "Stored topic") << "other workspaces are never touched";

    server.configure({{"locks", {{"tiktok", {{"temporarilyDisabled", true}}}}}});
    relaunch();
    EXPECT_EQ(state->selectedPublishAccountIDs().value("tiktok"), "acct-tt-2") << "a locked platform keeps the first account";
}

TEST_F(WorkspacePreferencesTest, StaleOrUnknownValuesFallBack) {
    Json record = validRecord();
    record["selectedFavoriteID"] = "fav-deleted";
    record["selectedProductID"] = "prod-2";
    record["avatarOrigin"] = "atlantis";
    record.erase("avatarAutoMode");
    record["reusedAvatarURL"] = "file:///etc/passwd";
    record["language"] = "xx";
    record["selectedPublishAccountIDs"] = {{"tiktok", "acct-tt-3"}, {"instagram", "acct-gone"}};
    record["scheduleDraft"]["avatarURL"] = "https://";
    record["scheduleDraft"]["runsPerDay"] = 9;
    record["scheduleDraft"]["runHours"] = Json::parse("[25, 9, 9, 14]");
    storeRaw(tenant, encodeJson(record));
    signInDemo();
    EXPECT_EQ(state->topic(), "Stored topic");
    EXPECT_EQ(state->selectedFavoriteID(), std::nullopt);
    EXPECT_EQ(state->selectedProductID(), QStringLiteral("prod-2"));
    EXPECT_EQ(state->avatarOrigin(), "european");
    EXPECT_TRUE(state->avatarAutoMode());
    EXPECT_EQ(state->reusedAvatarURL(), std::nullopt);
    EXPECT_EQ(state->language(), "en");
    EXPECT_EQ(state->selectedPublishAccountIDs(), (AccountSelection{{"tiktok", "acct-tt-2"}, {"instagram", "acct-ig-1"}}))
        << "inactive or unknown accounts are not restored";
    EXPECT_EQ(state->scheduleDraft().avatarURL, "");
    EXPECT_EQ(state->scheduleDraft().runsPerDay, 6);
    EXPECT_EQ(state->scheduleDraft().runHours, (QList<int>{9, 14, 10, 11, 12, 13}));
    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->selectedFavoriteID, std::nullopt) << "the write after restoring stores the clean state";

    ScheduleDraft empty;
    empty.runsPerDay = 0;
    empty.runHours.clear();
    EXPECT_EQ(state->sanitizedScheduleDraft(empty).runHours, (QList<int>{9}));
}

TEST_F(WorkspacePreferencesTest, UnreadableRecordsAreIgnoredAndReplaced) {
    Json badSource = validRecord();
    badSource["scheduleDraft"]["topicSource"] = "gap";
    Json badStep = validRecord();
    badStep["pendingGeneration"] = {{"topic", "t"}, {"selectedDuration", 5}, {"language", "en"}, {"publishResults", Json::array()},
                                    {"step", "rendering"}, {"updatedAt", "2026-12-01T10:00:00Z"}};
    // Its UTC year is 10000: once read it could not be written back.
    Json badDate = badStep;
    badDate["pendingGeneration"]["step"] = "polling";
    badDate["pendingGeneration"]["updatedAt"] = "9999-12-31T23:00:00-05:00";
    for (const QByteArray& bad : {encodeJson(badSource), encodeJson(badStep), encodeJson(badDate), QByteArray("{\"topic\": "),
                                  QByteArray("[]")}) {
        storeRaw(tenant, bad);
        makeState(UGCRuntimeConfiguration{});
        state->setIsEmptyHistoryDismissed(true);
        signInDemo();
        EXPECT_EQ(state->topic(), "") << bad.toStdString();
        EXPECT_FALSE(state->isEmptyHistoryDismissed());
        ASSERT_TRUE(stored()) << "the next write replaces the bad entry";
    }
}

TEST_F(WorkspacePreferencesTest, AnInterruptedRunComesBackAsAnErrorToRetry) {
    signInDemo();
    server.configure({{"latency_ms", 100}});
    state->setTopic("Interrupted by quitting");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return state->step() == UGCStep::polling; }));
    ASSERT_TRUE(stored()->pendingGeneration);
    EXPECT_EQ(stored()->pendingGeneration->step, UGCStep::polling);
    const OptionalString script = state->script();
    state.reset();  // the app quits mid-run

    server.configure({{"latency_ms", 0}});
    relaunch();
    EXPECT_EQ(state->step(), UGCStep::error);
    EXPECT_EQ(state->errorMessage(), QStringLiteral("Previous generation was interrupted. Generate again to continue."));
    EXPECT_EQ(state->script(), script);
    EXPECT_FALSE(state->isPipelineRunning()) << "nothing resumes by itself";

    state->resetPipeline();
    EXPECT_EQ(stored()->pendingGeneration, std::nullopt) << "a reset leaves no snapshot";

    state->setTopic("Finished");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    const OptionalString video = state->videoURL();
    relaunch();
    EXPECT_EQ(state->step(), UGCStep::complete);
    EXPECT_EQ(state->videoURL(), video);
    EXPECT_EQ(state->errorMessage(), std::nullopt);
}

TEST_F(WorkspacePreferencesTest, ARefreshWritesNothingWhileItLoadsAndLeavesARunOrAPublishGoing) {
    signInDemo();
    server.configure({{"latency_ms", 150}});
    state->fetchContext();
    ASSERT_EQ(state->step(), UGCStep::loadingContext);
    state->setTopic("Typed while loading");
    EXPECT_NE(stored()->topic, "Typed while loading");
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    EXPECT_EQ(state->topic(), "") << "the restore brings back what was stored";
    state->setTopic("Typed after loading");
    EXPECT_EQ(stored()->topic, "Typed after loading");

    server.configure({{"latency_ms", 20}, {"render_polls", 20}});
    state->setTopic("Refreshed while rendering");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return state->step() == UGCStep::polling; }));
    state->fetchContext();
    ASSERT_TRUE(waitUntil([&] { return !state->isContextLoading(); }));
    EXPECT_EQ(state->step(), UGCStep::polling) << "the stored snapshot is not the live run";
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    EXPECT_EQ(state->step(), UGCStep::complete);

    server.script("POST", "/api/dashboard/shorts/publish", Json::array({{{"delay_ms", 400}, {"body", R"({"results":[]})"}}}));
    state->publishCurrent(false);
    state->fetchContext();
    ASSERT_TRUE(waitUntil([&] { return !state->isContextLoading(); }));
    EXPECT_EQ(state->step(), UGCStep::publishing);
    ASSERT_TRUE(waitUntil([&] { return state->step() != UGCStep::publishing; }));
    EXPECT_EQ(state->step(), UGCStep::complete);
    EXPECT_EQ(state->errorMessage(), std::nullopt);
    EXPECT_TRUE(announcements.empty());
}

// A screen reader hears an error each time it comes, also when the same text comes back after a
// good load cleared it.
TEST_F(WorkspacePreferencesTest, AnErrorThatComesBackIsAnnouncedAgain) {
    signInDemo();
    for (bool fails : {true, false, true}) {
        if (fails) server.script("GET", "/api/ai-insights/favorites", Json::array({{{"drop", true}}}));
        state->fetchContext();
        ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
        EXPECT_EQ(state->errorMessage(), fails ? OptionalString(QStringLiteral("Connection closed")) : std::nullopt);
    }
    EXPECT_EQ(std::count(announcements.begin(), announcements.end(), QStringLiteral("Connection closed")), 2);
}

TEST_F(WorkspacePreferencesTest, AFailedLoadIsNotStoredButARunsErrorIs) {
    signInDemo();
    state->setTopic("This one will fail");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    const OptionalString runError = state->errorMessage();
    ASSERT_EQ(runError, QStringLiteral("Rendering failed for this topic."));
    EXPECT_EQ(state->step(), UGCStep::error);
    EXPECT_EQ(announcements.back(), *runError);
    const auto load = [&](bool fails) {
        if (fails)
            server.script("GET", "/api/ai-insights/favorites", Json::array({{{"status", 503}, {"body", R"({"error":"Try later"})"}}}));
        state->fetchContext();
        ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
        EXPECT_EQ(state->errorMessage()->startsWith("Try later"), fails);
    };
    load(true);
    load(false);
    EXPECT_EQ(state->errorMessage(), runError) << "a good load brings the run's error back";
    load(true);
    relaunch();
    EXPECT_EQ(state->step(), UGCStep::error);
    EXPECT_EQ(state->errorMessage(), runError) << "the failed load's error was not stored";
}

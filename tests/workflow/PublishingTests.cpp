#include "workflow/WorkflowFixture.h"

using namespace vexora;
using namespace vexora::test;

namespace {

class PublishingTest : public WorkflowFixture {
protected:
    const std::string publishPath = "/api/dashboard/shorts/publish";

    void finishARun(bool autoPublish) {
        state->setAutoPublish(autoPublish);
        state->setTopic("Publish me");
        state->generate();
        ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning() && state->step() != UGCStep::publishing; }));
        ASSERT_EQ(state->step(), UGCStep::complete);
    }
};

PublishResult result(QString platform, OptionalString accountID, QString status, std::optional<bool> ok) {
    return {std::move(platform), std::move(accountID), std::move(status), ok, {}, {}, {}};
}

}  // namespace

TEST_F(PublishingTest, AccountsInEffectFollowNameOrderAndStoredChoices) {
    state->setSocialAccounts({{"c-amy", "tiktok", "1", QStringLiteral("amy"), true},
                              {"c-zed", "tiktok", "2", QStringLiteral("Zed"), true},
                              {"c-old", "tiktok", "3", QStringLiteral("Aaron"), false},
                              {"c-ig", "instagram", "178", std::nullopt, true}});
    EXPECT_EQ(state->selectedPublishAccountID(UGCPlatform::tiktok), QStringLiteral("c-zed")) << "capitals sort first";
    EXPECT_EQ(state->accounts(UGCPlatform::tiktok).size(), 2) << "inactive accounts are not offered";

    state->setSelectedPublishAccountID(QStringLiteral("c-old"), UGCPlatform::tiktok);
    EXPECT_EQ(state->selectedPublishAccountID(UGCPlatform::tiktok), QStringLiteral("c-zed"));
    state->normalizeSelectedPublishAccounts();
    EXPECT_EQ(state->selectedPublishAccountIDs(),
              (AccountSelection{{"tiktok", "c-zed"}, {"instagram", "c-ig"}}));

    state->setSelectedPublishAccountID(QStringLiteral("c-amy"), UGCPlatform::tiktok);
    EXPECT_EQ(state->publishTargets(false),
              (QList<PublishTarget>{{"tiktok", "c-amy"}, {"instagram_reels", "c-ig"}}));
}

TEST_F(PublishingTest, FailedResultsResolveToTargetsAndMergeByAccount) {
    state->setSocialAccounts({{"c-tt", "tiktok", "7281", QStringLiteral("shop"), true},
                              {"c-ig", "instagram", "178", QStringLiteral("shop.ig"), true}});
    state->mergePublishResults({result("tiktok", QStringLiteral("c-tt"), "success", std::nullopt),
                                result("instagram_reels", QStringLiteral("178"), "success", false)});
    EXPECT_EQ(state->failedPublishTargets(), (QList<PublishTarget>{{"instagram_reels", "c-ig"}}))
        << "ok false fails whatever the status; the platform's own account id resolves too";

    state->mergePublishResults({result("instagram_reels", QStringLiteral("178"), "success", true)});
    EXPECT_TRUE(state->failedPublishTargets().isEmpty());
    EXPECT_EQ(state->publishResults().size(), 2);

    state->mergePublishResults({result("tiktok", std::nullopt, "failed", false)});
    state->mergePublishResults({result("tiktok", std::nullopt, "failed", std::nullopt)});
    EXPECT_EQ(state->publishResults().size(), 3) << "results without an account share the default key";
    EXPECT_EQ(state->failedPublishTargets(), (QList<PublishTarget>{{"tiktok", "c-tt"}}));
    EXPECT_EQ(state->publishResults().front().platform, "instagram_reels");
}

TEST_F(PublishingTest, AutoPublishSendsOneTargetPerPlatformAndARetryOnlyTheFailedAccount) {
    signInDemo();
    server.configure({{"fail_accounts", {"acct-ig-1"}}});
    finishARun(true);
    Json body = onlyBody(publishPath);
    EXPECT_EQ(body.at("targets"), Json::parse(R"([{"platform":"tiktok","account_id":"acct-tt-2"},
                                                  {"platform":"instagram_reels","account_id":"acct-ig-1"}])"));
    EXPECT_EQ(body.at("privacy_status"), "private");
    EXPECT_EQ(body.at("db_id"), state->dbID()->toStdString());
    ASSERT_EQ(state->publishResults().size(), 2);
    ASSERT_EQ(state->failedPublishTargets(), (QList<PublishTarget>{{"instagram_reels", "acct-ig-1"}}));
    const PublishResult tiktokBefore = state->publishResults().back();
    ASSERT_EQ(tiktokBefore.platform, "tiktok");
    ASSERT_EQ(tiktokBefore.ok, true);

    server.configure({{"fail_accounts", Json::array()}});
    server.clearLog();
    state->publishCurrent(true);
    ASSERT_TRUE(waitUntil([&] { return state->step() == UGCStep::complete; }));
    body = onlyBody(publishPath);
    EXPECT_EQ(body.at("targets"), Json::parse(R"([{"platform":"instagram_reels","account_id":"acct-ig-1"}])"));
    EXPECT_FALSE(body.contains("privacy_status")) << "only a TikTok target asks for a private post";
    EXPECT_EQ(state->publishResults().back(), tiktokBefore) << "the successful account's result stays";
    EXPECT_TRUE(state->failedPublishTargets().isEmpty());
    ASSERT_EQ(state->publishResults().size(), 2);
    for (const PublishResult& outcome : state->publishResults()) EXPECT_EQ(outcome.ok, true);
    EXPECT_EQ(state->statusIconState(), StatusIconState::success);
}

TEST_F(PublishingTest, LockedPlatformsContributeNoTarget) {
    signInDemo();
    finishARun(false);
    server.configure({{"locks", {{"tiktok", {{"temporarilyDisabled", true}}}, {"instagram", false}}}});
    state->fetchContext();
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    EXPECT_EQ(state->publishTargets(false), (QList<PublishTarget>{{"instagram_reels", "acct-ig-1"}}));

    server.configure({{"locks", {{"tiktok", true}, {"instagram", {{"temporarilyDisabled", true}}}}}});
    state->fetchContext();
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    EXPECT_FALSE(state->canPublishCurrent());
    server.clearLog();
    state->publishCurrent(false);
    EXPECT_EQ(state->errorMessage(), QStringLiteral("No publishable connected accounts."));
    EXPECT_TRUE(server.requests(publishPath).empty());
}

TEST_F(PublishingTest, FailedCallsAndStaleRepliesAreHandled) {
    signInDemo();
    finishARun(false);
    server.script("POST", publishPath, Json::array({{{"delay_ms", 300}, {"body", R"({"results":[{"platform":"tiktok","status":"success"}]})"}}}));
    state->publishCurrent(false);
    state->setSelectedPublishAccountID(QStringLiteral("acct-tt-1"), UGCPlatform::tiktok);  // the targets change in flight
    ASSERT_TRUE(waitUntil([&] { return state->step() != UGCStep::publishing; }, 3000)) << "the dropped reply ends the step";
    EXPECT_EQ(state->step(), UGCStep::complete);
    EXPECT_EQ(state->statusIconState(), StatusIconState::success);
    EXPECT_TRUE(state->publishResults().isEmpty());

    server.script("POST", publishPath, Json::array({{{"status", 502}, {"body", R"({"error":"Upstream down"})"}}}));
    state->publishCurrent(false);
    ASSERT_TRUE(waitUntil([&] { return state->step() == UGCStep::error; }));
    EXPECT_TRUE(state->errorMessage()->startsWith("Upstream down"));
    EXPECT_TRUE(state->canPublishCurrent());

    server.script("POST", publishPath, Json::array({{{"delay_ms", 300}, {"body", R"({"results":[]})"}}}));
    state->publishCurrent(false);
    EXPECT_EQ(state->step(), UGCStep::publishing);
    state->publishCurrent(false);  // refused while one runs
    state->generateAnother();
    state->generate();  // a new run drops the pending reply
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    EXPECT_TRUE(state->publishResults().isEmpty());

    server.script("POST", publishPath, Json::array({{{"delay_ms", 300}, {"body", R"({"results":[{"platform":"tiktok","status":"success"}]})"}}}));
    state->publishCurrent(false);
    state->signOut();
    ASSERT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
    EXPECT_FALSE(waitUntil([&] { return !state->publishResults().isEmpty() || state->step() != UGCStep::idle; }, 600))
        << "nothing of the old workspace is written after sign-out";
}

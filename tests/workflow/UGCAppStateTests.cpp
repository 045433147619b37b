#include "config/UGCAppConfiguration.h"
#include "support/RunSync.h"
#include "workflow/WorkflowFixture.h"

using namespace vexora;
using namespace vexora::test;

using UGCAppStateTest = WorkflowFixture;

TEST_F(UGCAppStateTest, AnnouncesEachDistinctTrimmedErrorOnce) {
    state->setStep(UGCStep::error);
    state->setErrorMessage(QStringLiteral("  Render failed\n"));
    state->setErrorMessage(QStringLiteral("Render failed"));
    state->clearPipelineOutput(true);
    state->setErrorMessage(QStringLiteral("Render failed"));
    EXPECT_EQ(announcements, (std::vector<QString>{"UGC workflow needs attention.", "Render failed", "Render failed"}));
}

TEST_F(UGCAppStateTest, BootstrapWithoutSessionSendsNothingAndPasswordSignInIsRestoredByTheNext) {
    state->bootstrap();
    ASSERT_TRUE(waitUntil([&] { return !state->isBootstrapping(); }));
    EXPECT_EQ(state->authState(), AuthState::unauthenticated);
    EXPECT_TRUE(server.requests("/api/").empty());
    EXPECT_EQ(panelSizes.back(), QSizeF(440, 510));
    state->setTopic("Linen");
    EXPECT_FALSE(state->canGenerate()) << "no workspace";

    state->setSignInEmail(" ");
    state->signIn();
    EXPECT_EQ(state->authErrorMessage(), QStringLiteral("Enter both email and password."));

    state->setSignInEmail("demo@vexora.local");
    state->setSignInPassword("wrong");
    state->signIn();
    ASSERT_TRUE(waitUntil([&] { return !state->isSigningIn(); }));
    EXPECT_EQ(state->authErrorMessage(), QStringLiteral("Invalid login credentials"));
    EXPECT_EQ(state->authState().status, AuthStatus::unauthenticated);

    signInDemo();
    EXPECT_EQ(state->authState().status, AuthStatus::authenticated);
    EXPECT_EQ(state->authState().tenantID, QStringLiteral("tenant-demo"));
    EXPECT_EQ(state->signInPassword(), "");
    EXPECT_EQ(state->signInEmail(), "demo@vexora.local");
    EXPECT_FALSE(state->favorites().isEmpty());
    for (const auto& account : state->socialAccounts()) EXPECT_TRUE(account.isActive);
    EXPECT_EQ(state->history().size(), 50);
    EXPECT_EQ(state->step(), UGCStep::idle);
    EXPECT_EQ(panelSizes.back(), QSizeF(480, 820));

    UGCAppState relaunched(UGCRuntimeConfiguration{}, network, [](const QUrl&) {}, std::make_unique<InstantClock>());
    relaunched.bootstrap();
    ASSERT_TRUE(waitUntil([&] { return !relaunched.isBootstrapping() && !relaunched.isContextLoading(); }));
    EXPECT_EQ(relaunched.authState().tenantName, QStringLiteral("Demo Workspace"));
}

TEST_F(UGCAppStateTest, BrowserSignInOnlyTheLatestFlowCounts) {
    state->startBrowserAuth(NativeAuthFlowMode::signin, NativeAuthProvider::google);
    EXPECT_EQ(state->browserAuthStatusMessage(), QStringLiteral("Continue with Google"));
    ASSERT_TRUE(waitUntil([&] { return openedPages.size() == 1; }));
    state->startBrowserAuth(NativeAuthFlowMode::signup, std::nullopt);
    EXPECT_EQ(state->browserAuthStatusMessage(), QStringLiteral("Create your account in your browser, then come right back."));
    ASSERT_TRUE(waitUntil([&] { return openedPages.size() == 2; }));

    QNetworkRequest approve(QUrl(openedPages[0].toString() + "/approve"));
    runSync(sendRequest(network, approve, "POST", QByteArray()));
    // A few polls later (of the live flow: the superseded one polls no more), nothing is installed.
    const size_t polled = server.requests("/api/auth/native/session/").size();
    ASSERT_TRUE(waitUntil([&] { return server.requests("/api/auth/native/session/").size() >= polled + 3; }));
    EXPECT_NE(state->authState().status, AuthStatus::authenticated) << "the superseded flow installs nothing";

    approve.setUrl(QUrl(openedPages[1].toString() + "/approve"));
    runSync(sendRequest(network, approve, "POST", QByteArray()));
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    EXPECT_FALSE(state->isBrowserAuthInProgress());
    EXPECT_EQ(state->browserAuthStatusMessage(), std::nullopt);
}

TEST_F(UGCAppStateTest, BrowserSignInEndsWithItsTextsAndOpensOnlyWebPages) {
    server.configure({{"browser_session_ttl_seconds", 0}});
    state->startBrowserAuth(NativeAuthFlowMode::signin, std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return !state->isBrowserAuthInProgress(); }));
    EXPECT_EQ(state->browserAuthStatusMessage(),
              QStringLiteral("Browser sign-in was not completed. Start again when you're ready."));
    EXPECT_EQ(state->authErrorMessage(), std::nullopt);

    server.script("POST", "/api/auth/native/session",
                  Json::array({{{"status", 200},
                                {"body", R"({"sessionId":"s-1","pollToken":"p","mode":"signin","authUrl":"http://127.0.0.1/"})"}}}));
    server.script("GET", "/api/auth/native/session/s-1", Json::array({{{"status", 429}, {"body", "{}"}}}));
    state->startBrowserAuth(NativeAuthFlowMode::signin, std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return !state->isBrowserAuthInProgress(); }));
    EXPECT_EQ(state->browserAuthStatusMessage(),
              QStringLiteral("Browser sign-in was paused. If you closed the Apple prompt, start again when you're ready."));

    const size_t opened = openedPages.size();
    server.script("POST", "/api/auth/native/session",
                  Json::array({{{"status", 200},
                                {"body", R"({"sessionId":"s","pollToken":"p","mode":"signin","authUrl":"file:///etc/passwd"})"}}}));
    state->startBrowserAuth(NativeAuthFlowMode::signin, std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return !state->isBrowserAuthInProgress(); }));
    EXPECT_EQ(openedPages.size(), opened) << "only web pages are opened";
    EXPECT_EQ(state->authErrorMessage(), QStringLiteral("Invalid server response."));
}

TEST_F(UGCAppStateTest, ALiveRunFromScriptToVideoAndOneThatTimesOut) {
    signInDemo();
    state->setTopic("Summer linen");
    state->setSelectedDuration(UGCDuration::fifteen);
    state->generate();
    state->generate();  // refused: a run is in progress
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    EXPECT_EQ(state->step(), UGCStep::complete);
    EXPECT_EQ(state->statusIconState(), StatusIconState::success);
    ASSERT_TRUE(state->videoURL());
    EXPECT_TRUE(state->videoURL()->endsWith(".mp4"));
    const Json script = onlyBody("/api/dashboard/shorts/script");
    EXPECT_EQ(script.at("duration"), "long");
    EXPECT_EQ(script.at("requested_duration_seconds"), 15);
    EXPECT_FALSE(script.contains("gap_id"));
    EXPECT_EQ(onlyBody("/api/dashboard/shorts/generate").at("reuse_avatar"), false);
    EXPECT_EQ(server.requests("/api/dashboard/shorts/avatar").size(), 1u);
    EXPECT_GE(server.requests("/api/dashboard/shorts/render-").size(), 4u) << "queued, processing, processing, completed";

    server.clearLog();
    state->generateAnother();
    EXPECT_EQ(state->topic(), "Summer linen");
    EXPECT_EQ(state->videoURL(), std::nullopt);
    state->setReusedAvatarURL(QStringLiteral("http://127.0.0.1/assets/avatars/avatar-007.png"));
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    EXPECT_TRUE(server.requests("/api/dashboard/shorts/avatar").empty());
    EXPECT_EQ(onlyBody("/api/dashboard/shorts/generate").at("reuse_avatar"), true);
    EXPECT_EQ(state->avatarURL(), state->reusedAvatarURL());

    // The poll deadline (a failed render: WorkspacePreferencesTest.AFailedLoadIsNotStoredButARunsErrorIs).
    UGCRuntimeConfiguration impatient;
    impatient.liveVideoPollTimeoutSeconds = 3;
    makeState(impatient);
    signInDemo();
    state->setTopic("Slow render");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    EXPECT_EQ(state->errorMessage(), QStringLiteral("Video generation timed out. Please try again."));
    EXPECT_EQ(server.requests("/api/dashboard/shorts/render-").size(), 2u) << "polls at 2 s and 4 s, then the deadline";
}

TEST_F(UGCAppStateTest, ResetAndSignOutStopARunCold) {
    signInDemo();
    state->setTopic("Interrupted");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return state->step() == UGCStep::polling; }));
    state->resetPipeline();
    EXPECT_EQ(state->step(), UGCStep::idle);
    EXPECT_EQ(state->statusIconState(), StatusIconState::idle);
    EXPECT_EQ(state->topic(), "");
    EXPECT_FALSE(waitUntil([&] { return state->step() != UGCStep::idle || state->errorMessage(); }, 300));

    state->setTopic("Interrupted again");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return state->step() == UGCStep::polling; }));
    state->signOut();
    ASSERT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
    EXPECT_TRUE(state->favorites().isEmpty());
    EXPECT_TRUE(state->history().isEmpty());
    EXPECT_TRUE(state->socialAccounts().isEmpty());
    EXPECT_EQ(state->script(), std::nullopt);
    EXPECT_FALSE(waitUntil([&] { return state->step() != UGCStep::idle || state->videoURL(); }, 300));
    EXPECT_EQ(runSync(state->authManager().keychainStore().loadSession()), std::nullopt);
}

TEST_F(UGCAppStateTest, OnlyTheLatestContextLoadApplies) {
    signInDemo();
    server.configure({{"latency_ms", 100}});
    state->fetchContext();
    state->fetchContext();
    EXPECT_TRUE(state->isContextLoading());
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    EXPECT_EQ(state->step(), UGCStep::idle);
    EXPECT_EQ(state->favorites().size(), 4);

    server.configure({{"latency_ms", 0}});
    server.script("GET", "/api/ai-insights/favorites", Json::array({{{"status", 503}, {"body", R"({"error":"Try later"})"}}}));
    state->fetchContext();
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    EXPECT_EQ(state->step(), UGCStep::error);
    EXPECT_TRUE(state->errorMessage()->startsWith("Try later"));
    EXPECT_EQ(state->favorites().size(), 4) << "what was shown stays";

    state->fetchContext();
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    EXPECT_EQ(state->step(), UGCStep::idle) << "a good load ends the failed one's error";
    EXPECT_EQ(state->errorMessage(), std::nullopt);
}

TEST_F(UGCAppStateTest, AnAnswerForASessionThatWasSignedOutChangesNothing) {
    signInDemo();
    // A restart finds the stored session; the service takes its time to refuse it.
    server.script("GET", "/api/tenants", Json::array({{{"status", 401}, {"delay_ms", 600}, {"body", R"({"error":"Invalid or expired token"})"}}}));
    UGCAppState relaunched(UGCRuntimeConfiguration{}, network, [](const QUrl&) {}, std::make_unique<InstantClock>());
    relaunched.bootstrap();
    spin(200);  // the request is on its way (the devserver logs it only once answered)
    relaunched.signOut();
    ASSERT_TRUE(waitUntil([&] { return relaunched.authState().status == AuthStatus::unauthenticated; }));
    relaunched.setSignInEmail("demo@vexora.local");
    relaunched.setSignInPassword("demo");
    relaunched.signIn();
    ASSERT_TRUE(waitUntil([&] { return relaunched.authState().tenantID && !relaunched.isContextLoading(); }));

    spin(900);  // the late refusal arrives
    EXPECT_EQ(relaunched.authState().status, AuthStatus::authenticated);
    EXPECT_EQ(relaunched.authState().tenantName, QStringLiteral("Demo Workspace"));
    EXPECT_EQ(relaunched.authErrorMessage(), std::nullopt);
}

TEST_F(UGCAppStateTest, StubRunsUsePlaceholdersAndNoService) {
    UGCRuntimeConfiguration stub;
    stub.stubMode = true;
    makeState(stub);
    signInDemo();
    state->setTopic("Offline demo");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    EXPECT_EQ(state->step(), UGCStep::complete);
    EXPECT_EQ(state->script(), QStringLiteral("Short-form UGC script for: Offline demo"));
    EXPECT_TRUE(state->videoURL()->endsWith("/agent/videos/stub/video.mp4"));
    EXPECT_TRUE(server.requests("/api/dashboard/").empty());
}

#include "panel/PanelFixture.h"
#include "ui/PanelAnnouncer.h"

namespace vexora::test {
namespace {

using PanelFrame = PanelFixture;

// The providers' titles are read out by the screen reader's walk (desktop_tests); typing the
// form, signing in and out run in TrayApp.AUserMakesPublishesRetriesDownloadsSchedulesAndSignsOut.
TEST_F(PanelFrame, SignedOutShowsTheSignInPanelWhoseButtonsWaitForARunningSignIn) {
    EXPECT_TRUE(shown("auth.panel"));
    EXPECT_FALSE(shown("ugc.workspace"));
    EXPECT_FALSE(shown("ugc.header.sign-out"));
    EXPECT_EQ(text("ugc.header.subtitle"), "Native UGC controls");

    const QStringList buttons{"auth.signin", "auth.create-account", "auth.web-signin", "auth.provider.apple",
                              "auth.provider.google", "auth.provider.github", "auth.provider.linkedin_oidc",
                              "auth.provider.facebook"};
    state->setIsSigningIn(true);
    EXPECT_EQ(text("auth.signin"), "Signing in...");
    for (const QString& button : buttons) EXPECT_FALSE(enabled(button)) << button.toStdString();

    state->setIsSigningIn(false);
    state->setIsBrowserAuthInProgress(true);
    state->setBrowserAuthStatusMessage(QStringLiteral("Waiting for the browser..."));
    EXPECT_EQ(text("auth.signin"), "Sign in to Vexora");
    EXPECT_TRUE(shown("auth.browser-status"));
    EXPECT_EQ(text("auth.browser-status"), "Waiting for the browser...");
    for (const QString& button : buttons) EXPECT_FALSE(enabled(button)) << button.toStdString();

    state->setIsBrowserAuthInProgress(false);
    for (const QString& button : buttons) EXPECT_TRUE(enabled(button)) << button.toStdString();
}

TEST_F(PanelFrame, TheWorkspaceRowNamesTheWorkspaceAndReloadsIt) {
    signInDemo();
    EXPECT_FALSE(shown("auth.panel"));
    EXPECT_EQ(text("ugc.tenant.name"), *state->authState().tenantName);
    EXPECT_EQ(text("ugc.tenant.credits"),
              QStringLiteral("%1 credits available").arg(*state->authState().balanceCredits));
    // Schedules come before history in the column.
    QWidget* schedules = find("ugc.schedules.section");
    QWidget* history = find("ugc.history.section");
    ASSERT_TRUE(schedules && history);
    EXPECT_LT(schedules->mapTo(panel.get(), QPoint()).y(), history->mapTo(panel.get(), QPoint()).y());

    AuthState unnamed = state->authState();
    unnamed.tenantName.reset();
    state->setAuthState(unnamed);
    EXPECT_EQ(text("ugc.tenant.name"), "Workspace");

    state->setIsContextLoading(true);
    state->setStep(UGCStep::loadingContext);
    EXPECT_TRUE(shown("ugc.tenant.loading"));
    EXPECT_FALSE(shown("ugc.tenant.refresh"));
    EXPECT_EQ(text("ugc.header.subtitle"), "Loading workspace");

    state->setIsContextLoading(false);
    state->setStep(UGCStep::idle);
    click("ugc.tenant.refresh");
    EXPECT_TRUE(state->isContextLoading());
    ASSERT_TRUE(waitUntil([this] { return contextLoaded(); }));
}

TEST_F(PanelFrame, AWorkspaceThatFailsToLoadOffersARetryNotTheSignInForm) {
    server.script("GET", "/api/tenants", Json::array({{{"status", 503}, {"body", R"({"error":"Try later"})"}}}));
    state->setSignInEmail("demo@vexora.local");
    state->setSignInPassword("demo");
    click("auth.signin");
    ASSERT_TRUE(waitUntil([this] { return !state->isSigningIn(); }));
    EXPECT_FALSE(shown("auth.panel"));
    EXPECT_TRUE(shown("ugc.header.sign-out"));
    EXPECT_TRUE(shown("ugc.workspace-error"));
    EXPECT_TRUE(text("ugc.workspace-error.message").startsWith("Try later"));

    click("ugc.workspace-error.retry");
    ASSERT_TRUE(waitUntil([this] { return contextLoaded(); }));
    EXPECT_FALSE(shown("ugc.workspace-error"));
    EXPECT_TRUE(shown("ugc.workspace"));
}

TEST_F(PanelFrame, WhatIsAnnouncedBeforeThePanelIsBuiltIsReadOutOnceItIs) {
    PanelAnnouncer announcer;
    announcer.announce("Try later");
    announcer.announce("Session expired. Please sign in again.");
    announcer.setLabel(panel->statusLabel());
    EXPECT_EQ(panel->statusLabel()->text(), "Session expired. Please sign in again.") << "the latest one";
    announcer.announce("Rendering failed for this topic.");
    EXPECT_EQ(panel->statusLabel()->text(), "Rendering failed for this topic.");
}

}  // namespace
}  // namespace vexora::test

#include "panel/PanelFixture.h"

#include "workflow/UGCStep.h"

namespace vexora::test {
namespace {

class ResultSection : public PanelFixture {
protected:
    static PublishResult result(QString platform, QString status, std::optional<bool> ok, OptionalString url = std::nullopt) {
        PublishResult made;
        made.platform = std::move(platform);
        made.status = std::move(status);
        made.ok = ok;
        made.url = std::move(url);
        return made;
    }
};

// The generate button's title is checked here too: it names only the rendering steps.
TEST_F(ResultSection, EveryStepHasItsStatusLineBadgeAndGenerateTitleUntilAResultExists) {
    signInDemo();
    EXPECT_TRUE(shown("ugc.status.section"));
    EXPECT_FALSE(shown("ugc.result.section"));
    const struct {
        UGCStep step;
        const char* line;
        const char* badge;
        const char* generate;
    } cases[] = {
        {UGCStep::script, "Writing the UGC script...", "Script", "Generating..."},
        {UGCStep::avatar, "Preparing avatar...", "Avatar", "Generating..."},
        {UGCStep::video, "Rendering video...", "Video", "Generating..."},
        {UGCStep::polling, "Rendering video...", "Video", "Generating..."},
        {UGCStep::publishing, "Publishing to connected accounts...", "Publishing", "Generate"},
        {UGCStep::complete, "UGC is ready.", "Ready", "Generate"},
        {UGCStep::error, "The last operation failed.", "Error", "Generate"},  // an error without a message
        {UGCStep::loadingContext, "Loading workspace context...", "Loading", nullptr},
    };
    for (const auto& expected : cases) {
        state->setStep(expected.step);
        EXPECT_TRUE(shown("ugc.status.line")) << expected.line;
        EXPECT_EQ(text("ugc.status.line"), expected.line);
        EXPECT_EQ(text("ugc.status.badge"), expected.badge);
        EXPECT_EQ(find("ugc.status.badge")->accessibleName(), QStringLiteral("Pipeline status ") + expected.badge);
        if (expected.generate) {
            EXPECT_EQ(text("ugc.generator.generate"), expected.generate) << expected.line;
        }
    }
    state->setStep(UGCStep::idle);
    EXPECT_EQ(text("ugc.status.badge"), "Idle");
    EXPECT_FALSE(shown("ugc.status.line")) << "idle says nothing";
    EXPECT_EQ(text("ugc.generator.generate"), "Generate");

    // Publish results alone are a result. An explicit ok outweighs the status: a queued result
    // that is ok asks for no retry.
    state->setStep(UGCStep::complete);
    state->setPublishResults({result("tiktok", "success", std::nullopt), result("", "queued", true)});
    EXPECT_FALSE(shown("ugc.status.section"));
    EXPECT_TRUE(shown("ugc.result.section"));
    EXPECT_FALSE(shown("ugc.result.title"));
    EXPECT_FALSE(shown("ugc.result.script"));
    EXPECT_FALSE(shown("ugc.result.open-video"));
    EXPECT_EQ(text("ugc.result.badge"), "Ready");
    EXPECT_EQ(text("ugc.result.publish"), "Publish");
    EXPECT_TRUE(shown("ugc.publish-result.default")) << "an empty platform is named default";
}

TEST_F(ResultSection, RetryFailedPublishSendsOnlyTheFailedAccount) {
    signInDemo();
    server.configure({{"fail_accounts", {"acct-ig-1"}}});
    state->setAutoPublish(true);
    state->setTopic("Publish me");
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning() && state->canPublishCurrent(); }));
    // The publish's end alone must enable the button again.
    EXPECT_TRUE(enabled("ugc.result.publish"));
    ASSERT_EQ(text("ugc.result.publish"), "Retry failed publish");
    EXPECT_EQ(text("ugc.publish-result.status.tiktok"), "Publish succeeded");
    EXPECT_EQ(text("ugc.publish-result.status.instagram_reels"), "Publish failed");
    QWidget* row = find("ugc.publish-result.tiktok");
    state->setTopic("Typing in the topic editor");
    state->setIsDownloadingVideo(true);
    EXPECT_EQ(find("ugc.publish-result.tiktok"), row) << "rows are rebuilt only when the results change";
    state->setIsDownloadingVideo(false);

    server.configure({{"fail_accounts", Json::array()}});
    server.clearLog();
    click("ugc.result.publish");
    EXPECT_FALSE(enabled("ugc.result.publish")) << "one publish at a time";
    ASSERT_TRUE(waitUntil([&] { return state->canPublishCurrent(); }));
    EXPECT_EQ(onlyBody("/api/dashboard/shorts/publish").at("targets"),
              Json::parse(R"([{"platform":"instagram_reels","account_id":"acct-ig-1"}])"));
    EXPECT_EQ(text("ugc.result.publish"), "Publish");
}

// The error callout sits in whichever card is shown; the timeline marks the stages behind a step.
TEST_F(ResultSection, ErrorsAndRenderingShowInTheCardInSight) {
    signInDemo();
    state->setErrorMessage(QStringLiteral("Render failed"));
    state->setStep(UGCStep::error);
    ASSERT_TRUE(shown("ugc.error.callout"));
    EXPECT_TRUE(find("ugc.status.section")->isAncestorOf(find("ugc.error.callout")));
    EXPECT_FALSE(shown("ugc.status.line")) << "the callout replaces the status line";
    EXPECT_EQ(text("ugc.error.message"), "Render failed");
    EXPECT_FALSE(enabled("ugc.error.try-again")) << "no topic, nothing to try again";

    state->setScript(QStringLiteral("Hey there."));
    ASSERT_TRUE(shown("ugc.error.callout"));
    EXPECT_TRUE(find("ugc.result.section")->isAncestorOf(find("ugc.error.callout")));
    EXPECT_FALSE(shown("ugc.video-rendering.callout"));

    state->setStep(UGCStep::polling);
    EXPECT_FALSE(shown("ugc.error.callout"));
    EXPECT_TRUE(shown("ugc.video-rendering.callout"));
    QWidget* timeline = find("ugc.progress.timeline");
    EXPECT_EQ(timeline->accessibleName(), "Progress rendering video");
    const auto stages = [&] {
        QStringList marks;
        for (const char* stage : {"script", "avatar", "video", "publishing"})
            marks << find(QStringLiteral("ugc.progress.stage.") + stage)->property("progress").toString();
        return marks.join(' ');
    };
    EXPECT_EQ(stages(), "done done current pending");

    state->setStep(UGCStep::error);
    state->setTopic("Try me");
    click("ugc.error.try-again");
    EXPECT_TRUE(state->isPipelineRunning());
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    ASSERT_EQ(state->step(), UGCStep::complete);
    EXPECT_FALSE(shown("ugc.video-rendering.callout"));
    EXPECT_EQ(stages(), "done done done done");
    EXPECT_EQ(timeline->accessibleName(), "Progress complete");

    state->setErrorMessage(QStringLiteral("Render failed"));
    state->setStep(UGCStep::error);
    click("ugc.error.reset");
    EXPECT_EQ(state->step(), UGCStep::idle);
    EXPECT_FALSE(shown("ugc.error.callout"));
}

TEST_F(ResultSection, ActionsCopyReuseDownloadAndOpenOnlyWebPages) {
    signInDemo();
    state->setTitle(QStringLiteral("Linen in summer"));
    state->setScript(QStringLiteral("Hey! <b>Linen</b> breathes."));
    state->setVideoURL(QStringLiteral("file:///etc/passwd"));
    state->setPublishResults({result("tiktok", "success", true, QStringLiteral("javascript:alert(1)")),
                              result("instagram_reels", "success", true, QStringLiteral("https://instagram.test/p/1"))});
    EXPECT_EQ(text("ugc.result.title"), "Linen in summer");
    EXPECT_EQ(text("ugc.result.script"), "Hey! <b>Linen</b> breathes.");
    EXPECT_EQ(find<QLabel>("ugc.result.script")->textFormat(), Qt::PlainText) << "shown as written, never as markup";
    EXPECT_FALSE(shown("ugc.result.open-video"));
    EXPECT_FALSE(shown("ugc.publish-result.open.tiktok"));
    EXPECT_FALSE(shown("ugc.result.use-avatar")) << "the run has no avatar";

    click("ugc.result.copy-script");
    EXPECT_EQ(copied, std::vector<QString>{"Hey! <b>Linen</b> breathes."});
    EXPECT_EQ(find("ugc.result.copy-script")->accessibleDescription(), "Copies the generated script to the clipboard.");

    state->setVideoURL(QStringLiteral("https://cdn.test/videos/1.mp4"));
    click("ugc.result.open-video");
    click("ugc.publish-result.open.instagram_reels");
    EXPECT_EQ(openedPages, (std::vector<QUrl>{QUrl("https://cdn.test/videos/1.mp4"), QUrl("https://instagram.test/p/1")}));

    state->setAvatarURL(QStringLiteral("https://cdn.test/face.png"));
    click("ugc.result.use-avatar");
    EXPECT_EQ(state->reusedAvatarURL(), QStringLiteral("https://cdn.test/face.png"));

    // The name Download proposes is VideoDownloadTest's; the save dialog runs in TrayApp.
    state->setIsDownloadingVideo(true);
    EXPECT_EQ(text("ugc.result.download"), "Downloading");
    EXPECT_EQ(find("ugc.result.download")->accessibleName(), "Downloading");
    EXPECT_FALSE(enabled("ugc.result.download"));

    click("ugc.result.generate-new");
    EXPECT_TRUE(shown("ugc.status.section")) << "a new run starts from an empty result";
}

}  // namespace
}  // namespace vexora::test

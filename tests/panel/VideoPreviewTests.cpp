#include "panel/PanelFixture.h"

#include "panel/UGCVideoPreview.h"
#include "preview/VideoPreviewBackend.h"
#include "workflow/UGCStep.h"

#include <QFile>

#if defined(__SANITIZE_ADDRESS__)
// Qt Multimedia's GStreamer backend keeps a device monitor for the life of the process (its
// PulseAudio and Vulkan providers, and GLib's allocations under them). LeakSanitizer's quick
// stacks end inside those libraries, so they are named by library.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n"
           "leak:libglib-2.0.so\n"
           "leak:__vasprintf_internal\n";
}
#endif

namespace vexora::test {
namespace {

// Each case runs in a process of its own under CTest; run together, the first case must stay
// first, since nothing unloads the media libraries once a preview has loaded them.
class VideoPreview : public PanelFixture {
protected:
    static bool multimediaLoaded() {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
    }

    UGCVideoPreview* preview(const QString& toggle) {
        auto* button = find<UGCVideoPreviewToggle>(toggle);
        return button ? button->preview() : nullptr;
    }
};

TEST_F(VideoPreview, PlaysTheClipMutedAndLoopingOnlyOnceAskedAndPausesWhenHidden) {
    signInDemo();
    state->setStep(UGCStep::complete);
    state->setVideoURL(server.baseURL() + "/assets/videos/gen-001.mp4");
    ASSERT_TRUE(shown("ugc.result.preview"));
    EXPECT_EQ(panel->findChildren<UGCVideoPreview*>().size(), 0);
    EXPECT_FALSE(multimediaLoaded()) << "no media library before the first Preview";

    click("ugc.result.preview");
    UGCVideoPreview* player = preview("ugc.result.preview");
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(multimediaLoaded());
    EXPECT_EQ(text("ugc.result.preview"), "Close preview");
    VideoPreviewSurface* surface = player->surface();
    ASSERT_NE(surface, nullptr) << text("ugc.result.preview-message").toStdString();
    ASSERT_TRUE(waitUntil([&] { return surface->framesShown() >= 3 && surface->isPlaying(); }));
    // The devserver's clips are flat colours with white shapes: a decoded corner is no grey or black.
    const QColor corner = surface->currentFrame().pixelColor(8, 8);
    EXPECT_GT(corner.hsvSaturation(), 100) << corner.name().toStdString();
    EXPECT_EQ(surface->currentFrame().size(), QSize(360, 640));
    EXPECT_TRUE(surface->isMuted());
    EXPECT_EQ(find("ugc.result.preview-mute")->accessibleName(), "Unmute preview");
    EXPECT_EQ(find("ugc.result.preview-play")->accessibleName(), "Pause preview");
    EXPECT_TRUE(shown("ugc.result.open-video")) << "the browser stays one click away";

    click("ugc.result.preview-play");
    ASSERT_TRUE(waitUntil([&] { return !surface->isPlaying(); }));
    EXPECT_EQ(find("ugc.result.preview-play")->accessibleName(), "Play preview");
    click("ugc.result.preview-play");
    ASSERT_TRUE(waitUntil([&] { return surface->isPlaying(); }));
    panel->hide();
    ASSERT_TRUE(waitUntil([&] { return !surface->isPlaying(); })) << "a hidden panel plays nothing";

    panel->show();
    click("ugc.result.preview");
    EXPECT_EQ(preview("ugc.result.preview"), nullptr);
    EXPECT_EQ(text("ugc.result.preview"), "Preview");
}

TEST_F(VideoPreview, AClipThatCannotPlayLeavesAMessageInItsPlace) {
    signInDemo();
    state->setStep(UGCStep::complete);
    state->setVideoURL(server.baseURL() + "/assets/videos/missing!.mp4");  // the devserver has no such video
    click("ugc.result.preview");
    ASSERT_TRUE(waitUntil([&] { return shown("ugc.result.preview-message"); }));
    EXPECT_EQ(text("ugc.result.preview-message"), "Could not play this video here. Open it in the browser instead.");
    EXPECT_FALSE(shown("ugc.result.preview-video"));
    EXPECT_FALSE(shown("ugc.result.preview-play"));
    EXPECT_TRUE(shown("ugc.result.open-video"));

    // A history entry whose video is a local file: refused before any media library is asked.
    UGCHistoryItem local;
    local.id = "gen-local";
    local.videoURL = QStringLiteral("file:///home/me/video.mp4");
    click("ugc.history.disclosure");
    state->setHistory({local});
    click("ugc.history.preview.gen-local");
    EXPECT_TRUE(shown("ugc.history.preview-player.gen-local"));
    EXPECT_EQ(text("ugc.history.preview-message.gen-local"), "This video is not on the web, so it cannot play here.");
}

}  // namespace
}  // namespace vexora::test

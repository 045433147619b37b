#include "foundation/FoundationErrors.h"
#include "support/RunSync.h"
#include "support/ThreadWrites.h"
#include "workflow/WorkflowFixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

using namespace vexora;
using namespace vexora::test;

namespace {

class VideoDownloadTest : public WorkflowFixture {
protected:
    std::vector<QString> proposedNames;
    std::optional<QString> answer;

    void SetUp() override {
        WorkflowFixture::SetUp();
        if (IsSkipped()) return;
        state->saveLocationChooser = [this](const QString& name, std::function<void(const std::optional<QString>&)> chosen) {
            proposedNames.push_back(name);
            chosen(answer);
        };
    }

    QString destination() const { return scratch.filePath("video.mp4"); }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList leftovers() const { return QDir(scratch.path()).entryList({".video.mp4.tmp-*"}, QDir::Hidden | QDir::Files); }

    // A file in the scratch folder last written `minutesAgo`.
    QString leave(const QString& name, int minutesAgo) const {
        QFile file(scratch.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write("part of a video") < 0 || !file.flush()) return {};
        file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutesAgo), QFileDevice::FileModificationTime);
        return file.fileName();
    }
};

}  // namespace

TEST_F(VideoDownloadTest, ProposesANameAndOpensNoDialogWithoutAWebVideo) {
    state->downloadVideo();
    state->setVideoURL(QStringLiteral("not a url at all"));
    state->downloadVideo();
    EXPECT_TRUE(proposedNames.empty());

    state->setVideoURL(server.baseURL() + "/assets/videos/gen-001.mp4");
    state->downloadVideo();
    state->downloadVideo();
    ASSERT_EQ(proposedNames.size(), 2u) << "cancelling the dialog changes nothing";
    EXPECT_TRUE(proposedNames[0].startsWith("vexora-ugc-") && proposedNames[0].endsWith(".mp4"));
    EXPECT_NE(proposedNames[0], proposedNames[1]) << "without a record id each proposal is a new UUID";
    EXPECT_FALSE(state->isDownloadingVideo());

    state->setDbID(QStringLiteral("gen-001"));
    state->downloadVideo();
    EXPECT_EQ(proposedNames.back(), "vexora-ugc-gen-001.mp4");

    // A file: address is refused before anyone is asked where to save, and by the download itself.
    proposedNames.clear();
    state->presentVideoDownload(QUrl::fromLocalFile(scratch.filePath("secret.mp4")), QStringLiteral("x.mp4"));
    EXPECT_TRUE(proposedNames.empty());
    EXPECT_EQ(state->errorMessage(), "The video address is not a web address.");
    const FileError refused =
        expectFailure<FileError>(UGCAppState::downloadVideoFile(network, QUrl("file:///etc/passwd"), destination()));
    EXPECT_EQ(refused.errorDescription(), "The video address is not a web address.");
    EXPECT_FALSE(QFile::exists(destination()));
}

TEST_F(VideoDownloadTest, ReplacesAnExistingFileAndKeepsItWhenTheDownloadFailsOrCannotBeWritten) {
    {
        QFile old(destination());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the earlier video");
    }
    // What a killed download left goes; another instance's download under way, and files that
    // only look like ours, stay.
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString killed = leave(".video.mp4.tmp-" + uuid, 30);
    const QStringList kept = {leave(".clip.mp4.tmp-" + uuid, 2), leave(".clip.mp4.tmp-draft", 30), leave("clip.mp4.tmp-" + uuid, 30),
                              leave(".clip.mp4.tmp-" + uuid + ".txt", 30)};
    answer = destination();
    state->setVideoURL(server.baseURL() + "/assets/videos/gen-001.mp4");
    state->downloadVideo();
    EXPECT_TRUE(state->isDownloadingVideo());
    state->downloadVideo();  // no second dialog while one runs
    EXPECT_EQ(proposedNames.size(), 1u);
    ASSERT_TRUE(waitUntil([&] { return !state->isDownloadingVideo(); }));
    EXPECT_EQ(state->errorMessage(), std::nullopt);
    const QByteArray video = contents(destination());
    EXPECT_EQ(video.mid(4, 4), "ftyp") << "an MP4 replaced the old file";
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_FALSE(QFile::exists(killed));
    for (const QString& path : kept) EXPECT_TRUE(QFile::exists(path)) << path.toStdString();

    state->presentVideoDownload(QUrl(server.baseURL() + "/assets/videos/missing!.mp4"), "x.mp4");
    ASSERT_TRUE(waitUntil([&] { return !state->isDownloadingVideo(); }));
    EXPECT_EQ(state->errorMessage(), QStringLiteral("The video could not be downloaded (HTTP 404)."));
    EXPECT_EQ(contents(destination()), video) << "an error page never replaces the video";
    EXPECT_TRUE(leftovers().isEmpty());

    answer = scratch.filePath("no-such-folder/video.mp4");
    state->presentVideoDownload(QUrl(server.baseURL() + "/assets/videos/gen-001.mp4"), "video.mp4");
    ASSERT_TRUE(waitUntil([&] { return !state->isDownloadingVideo(); }));
    ASSERT_TRUE(state->errorMessage());
    EXPECT_TRUE(state->errorMessage()->startsWith("Could not write video.mp4")) << "reported where the user acted";
}

TEST_F(VideoDownloadTest, TheGUIThreadOnlyHandsTheBytesOver) {
    const qint64 before = bytesWrittenByThisThread();
    if (before < 0) GTEST_SKIP() << "needs Linux's per-thread I/O counters";
    constexpr qint64 size = 8 << 20;
    server.script("GET", "/assets/videos/gen-001.mp4", Json::array({{{"status", 200}, {"body_bytes", size}, {"content_type", "video/mp4"}}}));
    runSyncVoid(UGCAppState::downloadVideoFile(network, QUrl(server.baseURL() + "/assets/videos/gen-001.mp4"), destination()));
    EXPECT_EQ(QFileInfo(destination()).size(), size);
    EXPECT_LT(bytesWrittenByThisThread() - before, size / 16) << "the video was written on the GUI thread";
}

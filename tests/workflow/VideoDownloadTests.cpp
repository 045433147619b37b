#include "foundation/FoundationErrors.h"
#include "support/RunSync.h"
#include "workflow/WorkflowFixture.h"

#include <QDir>
#include <QFile>

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
};

}  // namespace

TEST_F(VideoDownloadTest, ProposesANameAndOpensNoDialogWithoutAVideo) {
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

    // A file: address is refused before anyone is asked where to save.
    proposedNames.clear();
    state->presentVideoDownload(QUrl::fromLocalFile(scratch.filePath("secret.mp4")), QStringLiteral("x.mp4"));
    EXPECT_TRUE(proposedNames.empty());
    EXPECT_EQ(state->errorMessage(), "The video address is not a web address.");
}

TEST_F(VideoDownloadTest, ReplacesAnExistingFileAndKeepsItWhenTheDownloadFails) {
    {
        QFile old(destination());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the earlier video");
    }
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

    state->presentVideoDownload(QUrl(server.baseURL() + "/assets/videos/missing!.mp4"), "x.mp4");
    ASSERT_TRUE(waitUntil([&] { return !state->isDownloadingVideo(); }));
    EXPECT_EQ(state->errorMessage(), QStringLiteral("The video could not be downloaded (HTTP 404)."));
    EXPECT_EQ(contents(destination()), video) << "an error page never replaces the video";

    state->presentVideoDownload(QUrl("http://127.0.0.1:1/video.mp4"), "x.mp4");
    ASSERT_TRUE(waitUntil([&] { return !state->isDownloadingVideo(); }));
    EXPECT_TRUE(state->errorMessage().has_value());
    EXPECT_EQ(contents(destination()), video);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(VideoDownloadTest, AnUnwritableFolderIsReportedWhereTheUserActed) {
    answer = scratch.filePath("no-such-folder/video.mp4");
    state->presentVideoDownload(QUrl(server.baseURL() + "/assets/videos/gen-001.mp4"), "video.mp4");
    ASSERT_TRUE(waitUntil([&] { return !state->isDownloadingVideo(); }));
    ASSERT_TRUE(state->errorMessage());
    EXPECT_TRUE(state->errorMessage()->startsWith("Could not write video.mp4"));

    const FileError refused =
        expectFailure<FileError>(UGCAppState::downloadVideoFile(network, QUrl("file:///etc/passwd"), destination()));
    EXPECT_EQ(refused.errorDescription(), "The video address is not a web address.");
    EXPECT_FALSE(QFile::exists(destination()));
}

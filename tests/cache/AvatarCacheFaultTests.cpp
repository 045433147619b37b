#include "cache/CacheFixture.h"
#include "cache/UGCAvatarFiles.h"
#include "support/RecordingServer.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QTest>
#include <future>
#include <httplib.h>

using namespace vexora;
using namespace vexora::test;

TEST(AvatarFileNames, OnlyPlainNamesInsideTheDirectoryPass) {
    EXPECT_TRUE(isPlainFileName(avatarCacheFileName(QStringLiteral("https://cdn.test/a.png"))));
    EXPECT_TRUE(isPlainFileName(QStringLiteral("face.png")));
    for (const char* name : {"", ".", "..", "../outside.png", "/etc/passwd", "a/b", "a\\b", "..\\x", "x/../y"})
        EXPECT_FALSE(isPlainFileName(QString::fromLatin1(name))) << name;
    EXPECT_EQ(avatarCacheFileName(QStringLiteral("https://cdn.test/a.png")),
              QLatin1String(QCryptographicHash::hash("https://cdn.test/a.png", QCryptographicHash::Sha256).toHex()) + ".image");
}

TEST_F(AvatarCacheTest, HostileRecordFileNamesAreIgnored) {
    QTemporaryDir elsewhere;
    const QString absolute = elsewhere.path() + "/victim.png";
    const QString hostile[] = {QStringLiteral("../outside.png"), absolute, QStringLiteral("a/b")};
    const QString targets[] = {folder.path() + "/outside.png", absolute, imageDirectory() + "/a/b"};
    ASSERT_TRUE(QDir().mkpath(imageDirectory() + "/a"));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(hostile[i].toStdString());
        const QString url = faceURL("hostile-" + std::to_string(i));
        ASSERT_TRUE(writeBytes(targets[i], pngOf({7, 7}, Qt::red)));
        ASSERT_TRUE(writeBytes(hashedPath(url), pngOf({5, 5}, Qt::green)));
        saveRecord(UGCAvatarRecord{url, hostile[i], std::nullopt, 0, now, now, now});

        EXPECT_EQ(lookUp(url)->size(), QSize(5, 5));
        runSync(cache().remove(url));
        EXPECT_TRUE(QFile::exists(targets[i]));
        EXPECT_FALSE(QFile::exists(hashedPath(url)));
        EXPECT_FALSE(recordOf(url));
    }
}

TEST_F(AvatarCacheTest, RemoveDuringDownloadCancelsIt) {
    RecordingServer slow;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    const QByteArray face = pngOf({8, 8}, Qt::blue);
    slow.on("GET", "/face.png", [released, face](const httplib::Request&, httplib::Response& response) {
        released.wait();
        response.set_content(face.toStdString(), "image/png");
    });
    const QString url = slow.baseURL() + "/face.png";

    QCoro::Task<std::optional<QImage>> first = cache().image(url);
    QCoro::Task<std::optional<QImage>> second = cache().image(url);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !slow.requestsTo("/face.png").empty(); }, 10000));
    runSync(cache().remove(url));
    release.set_value();  // the server answers, but to a reply already aborted
    EXPECT_FALSE(runSync(std::move(first)));
    EXPECT_FALSE(runSync(std::move(second)));

    EXPECT_TRUE(imageFiles().isEmpty());
    EXPECT_FALSE(recordOf(url));
    EXPECT_EQ(lookUp(url)->size(), QSize(8, 8));  // a fresh download after the cancelled one
    EXPECT_EQ(slow.requestsTo("/face.png").size(), 2u);
    network.clearConnectionCache();  // the server waits out kept-alive connections when it stops
}

TEST_F(AvatarCacheTest, NewImagesAreWrittenOffTheGUIThread) {
    QImage noise(512, 512, QImage::Format_RGB32);  // incompressible, so the file is large
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, QRandomGenerator::global()->generate());
    QBuffer png;
    ASSERT_TRUE(png.open(QIODevice::WriteOnly) && noise.save(&png, "PNG"));
    RecordingServer origin;
    origin.on("GET", "/large.png", [face = png.data().toStdString()](const httplib::Request&, httplib::Response& response) {
        response.set_content(face, "image/png");
    });
    const QString url = origin.baseURL() + "/large.png";
    cache();  // its store is made before the count starts

    const qint64 before = bytesWrittenByThisThread();
    if (before < 0) GTEST_SKIP() << "needs Linux's per-thread I/O counters";
    EXPECT_TRUE(lookUp(url));
    EXPECT_LT(bytesWrittenByThisThread() - before, png.size() / 4) << "the image file was written on the GUI thread";
    EXPECT_EQ(recordOf(url)->byteCount, png.size());
    EXPECT_EQ(QFileInfo(hashedPath(url)).size(), png.size());
    network.clearConnectionCache();
}

TEST_F(AvatarCacheTest, UnopenableStoreStillServesFromMemoryAndFiles) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("AvatarImageCache.store"));
    const QString url = faceURL("unrecorded");
    const std::optional<QImage> downloaded = lookUp(url);
    ASSERT_TRUE(downloaded);
    EXPECT_TRUE(QFile::exists(hashedPath(url)));

    restart();
    EXPECT_EQ(lookUp(url), downloaded);  // from the hash-named file
    ASSERT_TRUE(QFile::remove(hashedPath(url)));
    EXPECT_EQ(lookUp(url), downloaded);  // from memory
    EXPECT_EQ(downloadsOf("unrecorded"), 1u);
}

TEST_F(AvatarCacheTest, UnwritableImageDirectoryStillServesAndRecordsNothing) {
    ASSERT_TRUE(writeBytes(imageDirectory(), "in the way"));  // root may write anywhere, but not into a file
    const QString url = faceURL("unsaved");
    EXPECT_EQ(lookUp(url)->size(), QSize(96, 96));
    EXPECT_FALSE(recordOf(url));
    EXPECT_TRUE(lookUp(url));
    EXPECT_EQ(downloadsOf("unsaved"), 1u);

    restart();
    EXPECT_TRUE(lookUp(url));
    EXPECT_EQ(downloadsOf("unsaved"), 2u);
}

#include "cache/CacheFixture.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimeZone>

using namespace vexora;
using namespace vexora::test;

namespace {

// Runs SQL on a store file through a plain connection; the first column of the last statement's rows.
std::string onStore(const QString& path, const QStringList& statements) {
    QStringList rows;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
        database.setDatabaseName(path);
        EXPECT_TRUE(database.open());
        QSqlQuery query(database);
        for (const QString& statement : statements) EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        while (query.next()) rows << query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
    return rows.join(',').toStdString();
}

}  // namespace

TEST_F(AvatarCacheTest, OnlyWebURLsAreLookedUp) {
    ASSERT_TRUE(QDir().mkpath(imageDirectory()));
    const QString refused[] = {QStringLiteral("file:///tmp/face.png"), QStringLiteral("ftp://127.0.0.1/face.png"),
                               QStringLiteral("javascript:alert(1)"), QStringLiteral("127.0.0.1/assets/avatars/a.png"),
                               QString()};
    // A readable image under each one's name shows that not even the disk is asked.
    for (const QString& url : refused) {
        ASSERT_TRUE(writeBytes(hashedPath(url), pngOf({4, 4}, Qt::red)));
        EXPECT_FALSE(lookUp(url)) << url.toStdString();
    }
    EXPECT_TRUE(server.requests("/assets/").empty());

    const QString upperHTTPS = QStringLiteral("HTTPS://cdn.example.test/face.png");
    ASSERT_TRUE(writeBytes(hashedPath(upperHTTPS), pngOf({4, 4}, Qt::red)));
    EXPECT_EQ(lookUp(upperHTTPS)->size(), QSize(4, 4));
    const QString upperHTTP = faceURL("upper").replace(QStringLiteral("http:"), QStringLiteral("HTTP:"));
    EXPECT_EQ(lookUp(upperHTTP)->size(), QSize(96, 96));
    EXPECT_EQ(downloadsOf("upper"), 1u);
}

TEST_F(AvatarCacheTest, ConcurrentLookupsShareOneDownload) {
    const QString url = faceURL("shared");
    // Tasks start eagerly, so both lookups are under way before either is awaited.
    QCoro::Task<std::optional<QImage>> firstLookUp = cache().image(url);
    QCoro::Task<std::optional<QImage>> secondLookUp = cache().image(url);
    const std::optional<QImage> first = runSync(std::move(firstLookUp)), second = runSync(std::move(secondLookUp));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->size(), QSize(96, 96));
    EXPECT_EQ(*first, *second);
    EXPECT_EQ(downloadsOf("shared"), 1u);

    EXPECT_EQ(imageFiles(), QStringList{UGCAvatarImageCache::cacheFileName(url)});
    const auto record = recordOf(url);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fileName, UGCAvatarImageCache::cacheFileName(url));
    EXPECT_EQ(record->contentType, QStringLiteral("image/png"));
    EXPECT_EQ(record->byteCount, QFileInfo(hashedPath(url)).size());

    EXPECT_EQ(*lookUp(url), *first);  // from memory
    EXPECT_EQ(downloadsOf("shared"), 1u);
}

TEST_F(AvatarCacheTest, FailedDownloadsKeepNothingAndAreRetried) {
    const QString url = faceURL("flaky");
    server.script("GET", "/assets/avatars/flaky.png",
                  Json::array({{{"status", 404}, {"body", "{}"}},
                               {{"status", 200}, {"body", "not an image"}, {"content_type", "image/png"}}}));
    EXPECT_FALSE(lookUp(url));
    EXPECT_FALSE(lookUp(url));
    EXPECT_TRUE(imageFiles().isEmpty());
    EXPECT_FALSE(recordOf(url));

    EXPECT_TRUE(lookUp(url));
    EXPECT_EQ(downloadsOf("flaky"), 3u);
}

TEST_F(AvatarCacheTest, RestartServesFromDiskAndMovesLastAccess) {
    const QString url = faceURL("kept");
    const std::optional<QImage> downloaded = lookUp(url);
    ASSERT_TRUE(downloaded);
    UGCAvatarRecord stale = *recordOf(url);
    stale.lastAccessedAt = QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    saveRecord(stale);

    restart();
    server.clearLog();
    EXPECT_EQ(lookUp(url), downloaded);
    EXPECT_TRUE(server.requests("/assets/").empty());
    const UGCAvatarRecord touched = *recordOf(url);
    EXPECT_GT(touched.lastAccessedAt, stale.lastAccessedAt);
    EXPECT_EQ(touched.createdAt, stale.createdAt);

    saveRecord(stale);
    EXPECT_EQ(lookUp(url), downloaded);  // memory hits count as access too
    EXPECT_GT(recordOf(url)->lastAccessedAt, stale.lastAccessedAt);
}

TEST_F(AvatarCacheTest, AnOlderStoreIsUpgradedInPlaceAndANewerOneReset) {
    const QString url = faceURL("versioned");
    const std::optional<QImage> downloaded = lookUp(url);
    ASSERT_TRUE(downloaded);
    const QString store = cache().storePath();
    const UGCAvatarRecord record = *recordOf(url);
    const std::string version = std::to_string(UGCAvatarRecordStore::schemaVersion);

    restart();
    onStore(store, {"PRAGMA user_version = 0"});  // the layout from before versions
    EXPECT_EQ(lookUp(url), downloaded);
    EXPECT_EQ(downloadsOf("versioned"), 1u);
    EXPECT_EQ(onStore(store, {"PRAGMA user_version"}), version);
    EXPECT_EQ(recordOf(url)->createdAt, record.createdAt);

    restart();
    onStore(store, {"CREATE TABLE future_faces (url TEXT)", "PRAGMA user_version = 7"});
    ASSERT_TRUE(writeBytes(imageDirectory() + "/future-face.webp", "a face"));
    cache();
    EXPECT_TRUE(imageFiles().isEmpty());
    EXPECT_FALSE(recordOf(url));
    EXPECT_EQ(onStore(store, {"PRAGMA user_version"}), version);
    EXPECT_EQ(onStore(store, {"SELECT name FROM sqlite_master WHERE type = 'table'"}), "avatar_images");
    EXPECT_EQ(lookUp(url), downloaded);
    EXPECT_EQ(downloadsOf("versioned"), 2u);
    EXPECT_TRUE(recordOf(url));
}

TEST_F(AvatarCacheTest, DiskTierReadsTheFileTheRecordNames) {
    const QString url = faceURL("legacy");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    ASSERT_TRUE(QDir().mkpath(imageDirectory()));
    ASSERT_TRUE(writeBytes(imageDirectory() + "/legacy-face.png", pngOf({10, 10}, Qt::blue)));
    saveRecord(UGCAvatarRecord{url, QStringLiteral("legacy-face.png"), std::nullopt, 0, now, now, now});

    EXPECT_EQ(lookUp(url)->size(), QSize(10, 10));
    EXPECT_EQ(downloadsOf("legacy"), 0u);

    runSync(cache().remove(url));
    EXPECT_TRUE(imageFiles().isEmpty());
    EXPECT_FALSE(recordOf(url));
}

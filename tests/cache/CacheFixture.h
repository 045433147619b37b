#pragma once

#include "cache/UGCAvatarImageCache.h"
#include "cache/UGCAvatarRecordStore.h"
#include "support/DevServer.h"
#include "support/RunSync.h"
#include "support/ThreadWrites.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace vexora::test {

inline QByteArray pngOf(QSize size, QColor colour) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A cache in a fresh folder that downloads faces from its own devserver. The cache is made on
// first use, so a test can shape the folder first; restart() makes a new one on the same folder.
class AvatarCacheTest : public ::testing::Test {
protected:
    DevServer server;
    QTemporaryDir folder;
    QNetworkAccessManager network;
    std::unique_ptr<UGCAvatarImageCache> current;

    UGCAvatarImageCache& cache() {
        if (!current) current = std::make_unique<UGCAvatarImageCache>(folder.path(), network);
        return *current;
    }
    void restart() { current.reset(); }

    QString faceURL(const std::string& id) const { return server.baseURL() + QStringLiteral("/assets/avatars/%1.png").arg(id.c_str()); }
    size_t downloadsOf(const std::string& id) { return server.requests("/assets/avatars/" + id + ".png").size(); }

    std::optional<QImage> lookUp(const QString& url) { return runSync(cache().image(url)); }
    QString imageDirectory() const { return folder.path() + QStringLiteral("/AvatarImageCache"); }
    QString hashedPath(const QString& url) const { return imageDirectory() + '/' + UGCAvatarImageCache::cacheFileName(url); }
    QStringList imageFiles() const { return QDir(imageDirectory()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
    // Read through a connection of its own, as another process would.
    std::optional<UGCAvatarRecord> recordOf(const QString& url) { return UGCAvatarRecordStore(cache().storePath()).record(url); }
    void saveRecord(const UGCAvatarRecord& record) { UGCAvatarRecordStore(cache().storePath()).save(record); }
};

}  // namespace vexora::test

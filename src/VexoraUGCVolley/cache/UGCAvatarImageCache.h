#pragma once

#include <QCoroTask>
#include <QHash>
#include <QImage>
#include <QString>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace vexora {

class SerialWorker;
class UGCAvatarRecordStore;

// Avatar images by URL, from memory, then the image files, then the network. Downloads that
// decode are kept as files with a record each; nothing is ever evicted. Use it from the GUI
// thread only, and let its lookups finish before the cache goes away.
class UGCAvatarImageCache {
public:
    // The application's cache, made on first use and kept for the whole run.
    static UGCAvatarImageCache& shared();

    // A cache kept in `applicationFolder` that downloads through `network`.
    UGCAvatarImageCache(QString applicationFolder, QNetworkAccessManager& network);
    ~UGCAvatarImageCache();
    UGCAvatarImageCache(const UGCAvatarImageCache&) = delete;
    UGCAvatarImageCache& operator=(const UGCAvatarImageCache&) = delete;

    // None for anything but an http(s) URL, or when no tier has a decodable image. Never throws.
    QCoro::Task<std::optional<QImage>> image(QString urlString);
    // Forgets the URL everywhere; a download under way is cancelled and its waiters get none.
    QCoro::Task<void> remove(QString urlString);

    static QString cacheFileName(const QString& urlString);
    // The application data folder, or a folder under the temporary one when there is none.
    static QString defaultApplicationFolder();

    QString imageDirectory() const { return imageDirectory_; }
    QString storePath() const;

private:
    struct Download;  // one network fetch and everyone waiting for it

    UGCAvatarImageCache(QString applicationFolder, std::unique_ptr<QNetworkAccessManager> ownedNetwork,
                        QNetworkAccessManager& network);

    QString filePathFor(const QString& urlString) const;
    QCoro::Task<void> fetch(QString urlString, std::shared_ptr<Download> download);
    QCoro::Task<void> persist(QString urlString, QByteArray bytes, std::optional<QString> contentType);
    void markAccessed(const QString& urlString);
    void forget(const QString& urlString, const std::shared_ptr<Download>& download);

    QString applicationFolder_;
    QString imageDirectory_;
    std::unique_ptr<QNetworkAccessManager> ownedNetwork_;
    QNetworkAccessManager& network_;
    std::unique_ptr<UGCAvatarRecordStore> store_;
    QHash<QString, QImage> memory_;
    QHash<QString, std::shared_ptr<Download>> downloads_;
    QHash<QString, quint64> removals_;  // lets a disk read that a removal overtook keep out of memory
    // Reads, writes and removals of image files, in the order they were asked for, so a removal
    // never overtakes the write of the image it removes, nor a read the removal before it.
    std::unique_ptr<SerialWorker> fileWork_;
};

}  // namespace vexora

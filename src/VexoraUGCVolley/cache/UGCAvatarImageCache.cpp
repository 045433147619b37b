#include "cache/UGCAvatarImageCache.h"

#include "cache/UGCAvatarFiles.h"
#include "cache/UGCAvatarRecordStore.h"
#include "foundation/AsyncEvent.h"
#include "foundation/BundleInfo.h"
#include "foundation/NetworkCall.h"
#include "foundation/SerialWorker.h"

#include <QCoroFuture>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QPointer>
#include <QStandardPaths>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace vexora {

namespace {

constexpr int transferTimeoutMilliseconds = 30'000;

struct DeleteLater {
    void operator()(QObject* object) const { object->deleteLater(); }
};

bool isFetchableURL(const QString& urlString) {
    const QUrl url(urlString);
    if (!url.isValid()) return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("https") || scheme == QLatin1String("http");
}

QString fallbackFolder() {
    return QDir::tempPath() + QLatin1Char('/') + BundleInfo::main().identifier.value_or(QStringLiteral("vexora-ugc-volley"));
}

QString networkCacheFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty()) base = fallbackFolder();
    return base + QStringLiteral("/AvatarImageCache");
}

}  // namespace

struct UGCAvatarImageCache::Download {
    AsyncEvent arrived;
    std::optional<QByteArray> bytes;  // none when the fetch failed
    std::optional<QString> contentType;
    QPointer<QNetworkReply> reply;
    bool cancelled = false;
    bool finished = false;  // the first waiter to decode has stored the image
};

UGCAvatarImageCache& UGCAvatarImageCache::shared() {
    // Never destroyed: it lives for the run, and tearing Qt objects down after the application
    // object is gone is not safe.
    static UGCAvatarImageCache* const instance = [] {
        auto network = std::make_unique<QNetworkAccessManager>();
        auto* diskCache = new QNetworkDiskCache(network.get());
        diskCache->setCacheDirectory(networkCacheFolder());
        network->setCache(diskCache);
        QNetworkAccessManager& reference = *network;
        return new UGCAvatarImageCache(defaultApplicationFolder(), std::move(network), reference);
    }();
    return *instance;
}

UGCAvatarImageCache::UGCAvatarImageCache(QString applicationFolder, QNetworkAccessManager& network)
    : UGCAvatarImageCache(std::move(applicationFolder), nullptr, network) {}

UGCAvatarImageCache::UGCAvatarImageCache(QString applicationFolder, std::unique_ptr<QNetworkAccessManager> ownedNetwork,
                                         QNetworkAccessManager& network)
    : applicationFolder_(std::move(applicationFolder)),
      imageDirectory_(applicationFolder_ + QStringLiteral("/AvatarImageCache")),
      ownedNetwork_(std::move(ownedNetwork)),
      network_(network),
      fileWork_(std::make_unique<SerialWorker>()) {
    // Without the directory the cache still answers, from memory and the network.
    QDir().mkpath(imageDirectory_);
    // A newer version's records may name its files in ways this one does not know: they go together.
    store_ = std::make_unique<UGCAvatarRecordStore>(storePath(), [directory = imageDirectory_] {
        QDir images(directory);
        for (const QString& name : images.entryList(QDir::Files | QDir::Hidden | QDir::System)) images.remove(name);
    });
}

UGCAvatarImageCache::~UGCAvatarImageCache() = default;

QString UGCAvatarImageCache::cacheFileName(const QString& urlString) { return avatarCacheFileName(urlString); }

QString UGCAvatarImageCache::defaultApplicationFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return base.isEmpty() ? fallbackFolder() : base;
}

QString UGCAvatarImageCache::storePath() const { return applicationFolder_ + QStringLiteral("/AvatarImageCache.store"); }

QString UGCAvatarImageCache::filePathFor(const QString& urlString) const {
    QString fileName = cacheFileName(urlString);
    if (auto record = store_->record(urlString); record && isPlainFileName(record->fileName)) fileName = record->fileName;
    return imageDirectory_ + QLatin1Char('/') + fileName;
}

QCoro::Task<std::optional<QImage>> UGCAvatarImageCache::image(QString urlString) {
    if (!isFetchableURL(urlString)) co_return std::nullopt;
    if (auto cached = memory_.constFind(urlString); cached != memory_.cend()) {
        QImage hit = *cached;
        markAccessed(urlString);
        co_return hit;
    }

    std::shared_ptr<Download> download = downloads_.value(urlString);
    if (!download) {
        const quint64 removalsBefore = removals_.value(urlString);
        QFuture<std::optional<QImage>> reading =
            fileWork_->run([path = filePathFor(urlString)] { return readAvatarImageFile(path); });
        std::optional<QImage> fromDisk = co_await reading;
        if (fromDisk) {
            if (removals_.value(urlString) == removalsBefore) {
                memory_.insert(urlString, *fromDisk);
                markAccessed(urlString);
            }
            co_return fromDisk;
        }
        // Another lookup may have fetched the image, or started to, while the file was read.
        if (auto cached = memory_.constFind(urlString); cached != memory_.cend()) co_return QImage(*cached);
        download = downloads_.value(urlString);
    }

    if (download) {
        co_await download->arrived.wait();
    } else {
        download = std::make_shared<Download>();
        downloads_.insert(urlString, download);
        co_await fetch(urlString, download);
        download->arrived.set();
    }
    if (download->cancelled) co_return std::nullopt;
    if (!download->bytes) {
        forget(urlString, download);
        co_return std::nullopt;
    }

    // Every waiter decodes for itself; the first to finish keeps the image.
    const QByteArray bytes = *download->bytes;
    QFuture<std::optional<QImage>> decoding = QtConcurrent::run(decodeAvatarImage, bytes);
    std::optional<QImage> decoded = co_await decoding;
    if (download->cancelled) co_return std::nullopt;
    if (!decoded) {
        forget(urlString, download);
        co_return std::nullopt;
    }
    if (!download->finished) {
        download->finished = true;
        memory_.insert(urlString, *decoded);
        forget(urlString, download);
        co_await persist(urlString, bytes, download->contentType);
    }
    co_return decoded;
}

QCoro::Task<void> UGCAvatarImageCache::remove(QString urlString) {
    memory_.remove(urlString);
    ++removals_[urlString];
    if (std::shared_ptr<Download> download = downloads_.take(urlString)) {
        download->cancelled = true;
        if (download->reply) download->reply->abort();
    }
    // The record goes first, so it never names a missing file. A write under way may still
    // make the hash-named file, so that goes too.
    const QStringList paths = {filePathFor(urlString), imageDirectory_ + QLatin1Char('/') + cacheFileName(urlString)};
    store_->remove(urlString);
    QFuture<void> deleting = fileWork_->run([paths] {
        for (const QString& path : paths) QFile::remove(path);
    });
    co_await deleting;
}

QCoro::Task<void> UGCAvatarImageCache::fetch(QString urlString, std::shared_ptr<Download> download) {
    const QUrl url(urlString);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    request.setTransferTimeout(transferTimeoutMilliseconds);
    std::unique_ptr<QNetworkReply, DeleteLater> reply(network_.get(request));
    download->reply = reply.get();

    AsyncEvent finished;
    QObject::connect(reply.get(), &QNetworkReply::finished, [&finished] { finished.set(); });
    CappedReplyBody received(*reply);
    co_await finished.wait();

    if (download->cancelled || received.isOversized() || reply->error() != QNetworkReply::NoError) co_return;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || !HTTPReply::isSuccessStatus(status.toInt())) co_return;
    QByteArray body = received.take();
    if (reply->hasRawHeader("Content-Type")) download->contentType = QString::fromUtf8(reply->rawHeader("Content-Type"));
    download->bytes = std::move(body);
}

QCoro::Task<void> UGCAvatarImageCache::persist(QString urlString, QByteArray bytes, std::optional<QString> contentType) {
    const QString fileName = cacheFileName(urlString);
    const quint64 removalsBefore = removals_.value(urlString);
    // The write syncs to disk, which may take a while: never on the GUI thread.
    QFuture<bool> writing =
        fileWork_->run([path = imageDirectory_ + QLatin1Char('/') + fileName, bytes] { return writeFileAtomically(path, bytes); });
    const bool written = co_await writing;
    // A record only ever names a file that was written in full, and a removal meanwhile has the last word.
    if (!written || removals_.value(urlString) != removalsBefore) co_return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // The store keeps the first createdAt of a URL it already has.
    store_->save(UGCAvatarRecord{urlString, fileName, contentType, bytes.size(), now, now, now});
}

void UGCAvatarImageCache::markAccessed(const QString& urlString) {
    store_->markAccessed(urlString, QDateTime::currentDateTimeUtc());
}

void UGCAvatarImageCache::forget(const QString& urlString, const std::shared_ptr<Download>& download) {
    if (downloads_.value(urlString) == download) downloads_.remove(urlString);
}

}  // namespace vexora

// Keeping a local copy of a rendered video.
#include "workflow/UGCAppState.h"

#include "foundation/AsyncEvent.h"
#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"
#include "foundation/SerialWorker.h"

#include <QCoroFuture>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFuture>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QUuid>
#include <atomic>
#include <filesystem>
#include <memory>

namespace vexora {

namespace {

constexpr int inactivityTimeoutMilliseconds = 60'000;
// What may wait in memory for the disk; beyond it the reply stops reading from the network.
constexpr qint64 backlogLimitBytes = 8 << 20;
constexpr int resumeCheckMilliseconds = 20;
// A live download writes at least once a minute or times out, so a staging file untouched for
// this long belongs to a download that was killed.
constexpr qint64 staleStagingSeconds = 10 * 60;
const QString notAWebAddress = QStringLiteral("The video address is not a web address.");

QString uuidText() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

// Hidden, next to the destination, so the final rename stays on one file system.
QString stagingPath(const QString& destination) {
    const QFileInfo target(destination);
    return target.dir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".tmp-") + uuidText());
}

// Only names stagingPath() makes, for any destination in the folder.
bool isStagingName(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\..+\.tmp-[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$)"));
    return pattern.match(fileName).hasMatch();
}

// `now` is the time stamp of a file just made in the folder, so ages are judged by the folder's
// own clock (a file server's may differ from ours).
void removeStaleStagingFiles(const QDir& folder, const QDateTime& now) {
    const QFileInfoList candidates = folder.entryInfoList({QStringLiteral(".*.tmp-*")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& candidate : candidates)
        if (isStagingName(candidate.fileName()) && candidate.lastModified().secsTo(now) > staleStagingSeconds)
            QFile::remove(candidate.filePath());
}

// Replaces the destination in one step: it holds the old file or the new one, never a part.
std::optional<QString> moveIntoPlace(const QString& staging, const QString& destination) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(staging.toStdString()), std::filesystem::path(destination.toStdString()), error);
    if (!error) return std::nullopt;
    return QString::fromStdString(error.message());
}

// The staging file, written on a worker thread in the order the chunks arrived; the GUI
// thread only queues.
class StagingWriter {
    struct Shared {
        QString path;
        std::unique_ptr<QFile> file;  // made, used and dropped on the worker only
        std::optional<QString> error;
        std::atomic<qint64> backlog{0};
        std::atomic<bool> failed{false};
    };

    template <typename Step>
    auto queue(Step step) {
        return worker_.run([shared = shared_, step] { return step(*shared); });
    }

public:
    explicit StagingWriter(QString path) : shared_(std::make_shared<Shared>()) { shared_->path = std::move(path); }

    // Creates the file, then clears what killed downloads left in its folder. The error text, if any.
    QFuture<std::optional<QString>> open() {
        return queue([](Shared& shared) -> std::optional<QString> {
            shared.file = std::make_unique<QFile>(shared.path);
            if (!shared.file->open(QIODevice::WriteOnly | QIODevice::Truncate)) return shared.file->errorString();
            const QFileInfo made(shared.path);
            removeStaleStagingFiles(made.dir(), made.lastModified());
            return std::nullopt;
        });
    }

    void write(QByteArray chunk) {
        if (chunk.isEmpty()) return;
        shared_->backlog += chunk.size();
        queue([chunk](Shared& shared) {
            if (!shared.failed && shared.file->write(chunk) != chunk.size()) {
                shared.error = shared.file->errorString();
                shared.failed = true;
            }
            shared.backlog -= chunk.size();
        });
    }

    qint64 backlog() const { return shared_->backlog; }
    bool failed() const { return shared_->failed; }

    // After every write: the first error, if any.
    QFuture<std::optional<QString>> close() {
        return queue([](Shared& shared) -> std::optional<QString> {
            if (!shared.error && !shared.file->flush()) shared.error = shared.file->errorString();
            shared.file->close();
            return shared.error;
        });
    }

    QFuture<std::optional<QString>> moveTo(QString destination) {
        return queue([destination](Shared& shared) { return moveIntoPlace(shared.path, destination); });
    }

    // On every way out; after a successful move there is nothing left to remove.
    QFuture<void> discard() {
        return queue([](Shared& shared) {
            shared.file.reset();
            QFile::remove(shared.path);
        });
    }

private:
    std::shared_ptr<Shared> shared_;
    SerialWorker worker_;  // last: going away waits for the queued steps, which use shared_
};

struct DeleteLater {
    void operator()(QObject* object) const { object->deleteLater(); }
};

}  // namespace

void UGCAppState::downloadVideo() {
    if (!videoURL_) return;
    const QUrl remote(*videoURL_, QUrl::StrictMode);
    if (!remote.isValid() || remote.scheme().isEmpty()) return;
    presentVideoDownload(remote, QStringLiteral("vexora-ugc-") + dbID_.value_or(uuidText()) + QStringLiteral(".mp4"));
}

void UGCAppState::presentVideoDownload(const QUrl& remoteURL, const QString& defaultFileName) {
    if (isDownloadingVideo_ || !saveLocationChooser) return;
    // Refused before the dialog: the user should not pick a place for a file that never comes.
    if (!validatedRemoteURLString(remoteURL.toString(QUrl::FullyEncoded))) {
        setErrorMessage(notAWebAddress);
        return;
    }
    QPointer<UGCAppState> self(this);
    saveLocationChooser(defaultFileName, [self, remoteURL](const std::optional<QString>& chosen) {
        if (!self || !chosen || chosen->isEmpty()) return;
        runVideoDownload(self, remoteURL, *chosen);
    });
}

QCoro::Task<void> UGCAppState::runVideoDownload(QPointer<UGCAppState> self, QUrl remote, QString destination) {
    self->setIsDownloadingVideo(true);
    std::exception_ptr failure;
    try {
        co_await downloadVideoFile(*self->network_, remote, destination);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (failure) self->setErrorMessage(errorText(failure));
    self->setIsDownloadingVideo(false);
}

QCoro::Task<void> UGCAppState::downloadVideoFile(QNetworkAccessManager& network, QUrl remote, QString destination) {
    // Only web URLs are fetched; anything else from a history entry is refused.
    if (remote.scheme() != QLatin1String("https") && remote.scheme() != QLatin1String("http"))
        throw FileError(notAWebAddress);
    const QString name = QFileInfo(destination).fileName();
    StagingWriter staging(stagingPath(destination));
    std::exception_ptr failure;
    try {
        if (const std::optional<QString> error = co_await staging.open())
            throw FileError(QStringLiteral("Could not write %1: %2").arg(name, *error));
        QNetworkRequest request(remote);
        request.setTransferTimeout(inactivityTimeoutMilliseconds);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
        std::unique_ptr<QNetworkReply, DeleteLater> reply(network.get(request));
        // Streamed to disk as it arrives: a video need not fit in memory. When the disk falls
        // behind, bytes stay in the reply, whose full buffer holds the network back.
        reply->setReadBufferSize(backlogLimitBytes);
        QTimer resume;
        resume.setInterval(resumeCheckMilliseconds);
        auto handOver = [&staging, &resume, raw = reply.get()] {
            if (staging.failed()) {
                resume.stop();
                raw->abort();
            } else if (staging.backlog() >= backlogLimitBytes) {
                if (!resume.isActive()) resume.start();
            } else {
                resume.stop();
                staging.write(raw->readAll());
            }
        };
        QObject::connect(reply.get(), &QNetworkReply::readyRead, handOver);
        QObject::connect(&resume, &QTimer::timeout, handOver);
        AsyncEvent finished;
        QObject::connect(reply.get(), &QNetworkReply::finished, [&finished] { finished.set(); });
        co_await finished.wait();
        resume.stop();
        if (!staging.failed()) staging.write(reply->readAll());
        if (const std::optional<QString> error = co_await staging.close())
            throw FileError(QStringLiteral("Could not write %1: %2").arg(name, *error));
        if (reply->error() == QNetworkReply::OperationCanceledError)  // nothing arrived for a minute
            throw NetworkError(QNetworkReply::TimeoutError, QStringLiteral("The download timed out."));
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError && (status < 400 || status > 599))
            throw NetworkError(reply->error(), reply->errorString());
        // An error page is not the video: keep whatever file was there.
        if (status < 200 || status > 299)
            throw FileError(QStringLiteral("The video could not be downloaded (HTTP %1).").arg(status));
        if (const std::optional<QString> error = co_await staging.moveTo(destination))
            throw FileError(QStringLiteral("Could not save %1: %2").arg(name, *error));
    } catch (...) {
        failure = std::current_exception();
    }
    co_await staging.discard();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace vexora

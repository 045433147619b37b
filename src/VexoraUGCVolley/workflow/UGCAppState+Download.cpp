// Keeping a local copy of a rendered video.
#include "workflow/UGCAppState.h"

#include "foundation/AsyncEvent.h"
#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"

#include <QCoroFuture>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>
#include <filesystem>
#include <memory>

namespace vexora {

namespace {

constexpr int inactivityTimeoutMilliseconds = 60'000;
const QString notAWebAddress = QStringLiteral("The video address is not a web address.");

QString uuidText() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

// Hidden, next to the destination, so the final rename stays on one file system.
QString stagingPath(const QString& destination) {
    const QFileInfo target(destination);
    return target.dir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".tmp-") + uuidText());
}

// Replaces the destination in one step: it holds the old file or the new one, never a part.
std::optional<QString> moveIntoPlace(const QString& staging, const QString& destination) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(staging.toStdString()), std::filesystem::path(destination.toStdString()), error);
    if (!error) return std::nullopt;
    return QString::fromStdString(error.message());
}

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
    const QString staging = stagingPath(destination);
    auto file = std::make_shared<QFile>(staging);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError(QStringLiteral("Could not write %1: %2").arg(QFileInfo(destination).fileName(), file->errorString()));
    std::exception_ptr failure;
    try {
        QNetworkRequest request(remote);
        request.setTransferTimeout(inactivityTimeoutMilliseconds);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
        std::unique_ptr<QNetworkReply, DeleteLater> reply(network.get(request));
        // Streamed to disk as it arrives: a video need not fit in memory.
        bool writeFailed = false;
        QObject::connect(reply.get(), &QNetworkReply::readyRead, [&, raw = reply.get()] {
            if (writeFailed) return;
            const QByteArray chunk = raw->readAll();
            if (file->write(chunk) != chunk.size()) {
                writeFailed = true;
                raw->abort();
            }
        });
        AsyncEvent finished;
        QObject::connect(reply.get(), &QNetworkReply::finished, [&finished] { finished.set(); });
        co_await finished.wait();
        const QByteArray rest = reply->readAll();
        if (!writeFailed && file->write(rest) != rest.size()) writeFailed = true;
        if (writeFailed || !file->flush())
            throw FileError(QStringLiteral("Could not write %1: %2").arg(QFileInfo(destination).fileName(), file->errorString()));
        if (reply->error() == QNetworkReply::OperationCanceledError)  // nothing arrived for a minute
            throw NetworkError(QNetworkReply::TimeoutError, QStringLiteral("The download timed out."));
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError && (status < 400 || status > 599))
            throw NetworkError(reply->error(), reply->errorString());
        // An error page is not the video: keep whatever file was there.
        if (status < 200 || status > 299)
            throw FileError(QStringLiteral("The video could not be downloaded (HTTP %1).").arg(status));
        file->close();
        auto move = [staging, destination] { return moveIntoPlace(staging, destination); };
        QFuture<std::optional<QString>> moving = QtConcurrent::run(move);
        const std::optional<QString> moveError = co_await moving;
        if (moveError) throw FileError(QStringLiteral("Could not save %1: %2").arg(QFileInfo(destination).fileName(), *moveError));
    } catch (...) {
        failure = std::current_exception();
    }
    file->close();
    QFile::remove(staging);  // after a successful move there is nothing left here
    if (failure) std::rethrow_exception(failure);
}

}  // namespace vexora

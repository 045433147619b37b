#include "auth/KeychainStore.h"

#include "foundation/AsyncEvent.h"
#include "foundation/FoundationErrors.h"
#include "foundation/JsonReader.h"

#include <memory>
#include <qt6keychain/keychain.h>

namespace vexora {

namespace {

struct DeleteLater {
    void operator()(QObject* object) const { object->deleteLater(); }
};

template <typename JobType>
std::unique_ptr<JobType, DeleteLater> makeJob(const QString& service) {
    std::unique_ptr<JobType, DeleteLater> job(new JobType(service));
    job->setAutoDelete(false);
    job->setInsecureFallback(false);
    job->setKey(QString::fromLatin1(KeychainStore::account));
    return job;
}

// Starts the job and waits for it to finish; the job serialises with every other job itself.
QCoro::Task<void> run(QKeychain::Job& job) {
    AsyncEvent finished;
    QObject::connect(&job, &QKeychain::Job::finished, [&finished] { finished.set(); });
    job.start();
    co_await finished.wait();
}

SecureStoreError storeError(const QKeychain::Job& job) {
    switch (job.error()) {
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented: return SecureStoreError(SecureStoreError::Status::unavailable, job.errorString());
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser: return SecureStoreError(SecureStoreError::Status::accessDenied, job.errorString());
    default: break;
    }
    // A session bus without a Secret Service shows up as a generic error naming the service.
    const QString detail = job.errorString();
    if (detail.contains(QLatin1String("org.freedesktop.secrets")) || detail.contains(QLatin1String("ServiceUnknown")) ||
        detail.contains(QLatin1String("D-Bus"), Qt::CaseInsensitive))
        return SecureStoreError(SecureStoreError::Status::unavailable, detail);
    return SecureStoreError(SecureStoreError::Status::failed, detail);
}

}  // namespace

QString KeychainStore::encodedSession(const UserSession& session) {
    return QString::fromUtf8(encodeJson(session.toJson()));
}

UserSession KeychainStore::decodedSession(const QString& text) {
    return UserSession::fromJson(JsonReader::parse(text.toUtf8()));
}

KeychainStore::KeychainStore(CoreAppConfiguration configuration)
    : configuration_(std::move(configuration)), service_(configuration_.bundleIdentifier() + QStringLiteral(".session")) {}

QCoro::Task<void> KeychainStore::save(UserSession session) {
    auto job = makeJob<QKeychain::WritePasswordJob>(service_);
    job->setTextData(encodedSession(session));
    co_await run(*job);
    if (job->error() != QKeychain::NoError) throw storeError(*job);
}

QCoro::Task<std::optional<UserSession>> KeychainStore::loadSession() {
    auto job = makeJob<QKeychain::ReadPasswordJob>(service_);
    co_await run(*job);
    if (job->error() == QKeychain::EntryNotFound) co_return std::nullopt;
    if (job->error() != QKeychain::NoError) throw storeError(*job);
    co_return decodedSession(job->textData());
}

QCoro::Task<void> KeychainStore::clearSession() {
    auto job = makeJob<QKeychain::DeletePasswordJob>(service_);
    co_await run(*job);
}

}  // namespace vexora

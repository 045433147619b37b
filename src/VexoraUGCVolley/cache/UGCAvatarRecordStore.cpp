#include "cache/UGCAvatarRecordStore.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <atomic>

namespace vexora {

namespace {

QVariant epochMilliseconds(const QDateTime& time) { return time.isValid() ? QVariant(time.toMSecsSinceEpoch()) : QVariant(0); }

QDateTime fromEpochMilliseconds(const QVariant& value) { return QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC); }

QVariant optionalText(const std::optional<QString>& text) {
    return text ? QVariant(*text) : QVariant(QMetaType::fromType<QString>());
}

bool run(QSqlDatabase database, const QString& statement) {
    QSqlQuery query(database);
    return query.exec(statement);
}

std::optional<int> userVersion(QSqlDatabase database) {
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) return std::nullopt;
    return query.value(0).toInt();
}

QString quotedName(QString name) { return QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'); }

// Views first, then tables, which take their indexes and triggers with them.
bool dropEverything(QSqlDatabase database) {
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN ('view', 'table') "
                                   "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY type = 'table'")))
        return false;
    QStringList drops;
    while (query.next())
        drops << QStringLiteral("DROP %1 IF EXISTS %2").arg(query.value(0).toString().toUpper(), quotedName(query.value(1).toString()));
    query.finish();
    for (const QString& drop : drops)
        if (!run(database, drop)) return false;
    return true;
}

// One transaction that holds the write lock from the version check on, so two processes never
// both migrate, and a failure leaves the file as it was.
bool prepare(QSqlDatabase database, const std::function<void()>& dropFiles) {
    if (!run(database, QStringLiteral("BEGIN IMMEDIATE"))) return false;
    const std::optional<int> version = userVersion(database);
    bool ready = version.has_value();
    if (ready && *version > UGCAvatarRecordStore::schemaVersion) {
        // Files go before records: a crash in between leaves a newer store to be reset again.
        if (dropFiles) dropFiles();
        ready = dropEverything(database);
    }
    // Version 0 already has this layout: an upgrade only stamps the version.
    ready = ready &&
            run(database, QStringLiteral("CREATE TABLE IF NOT EXISTS avatar_images ("
                                         "url_string TEXT NOT NULL UNIQUE, file_name TEXT NOT NULL, content_type TEXT, "
                                         "byte_count INTEGER NOT NULL, created_at INTEGER NOT NULL, "
                                         "updated_at INTEGER NOT NULL, last_accessed_at INTEGER NOT NULL)")) &&
            (version == UGCAvatarRecordStore::schemaVersion ||
             run(database, QStringLiteral("PRAGMA user_version = %1").arg(UGCAvatarRecordStore::schemaVersion)));
    if (ready && run(database, QStringLiteral("COMMIT"))) return true;
    run(database, QStringLiteral("ROLLBACK"));
    return false;
}

}  // namespace

UGCAvatarRecordStore::UGCAvatarRecordStore(const QString& filePath, const std::function<void()>& dropFiles) {
    static std::atomic<int> nextConnection{0};
    connectionName_ = QStringLiteral("UGCAvatarRecordStore-%1").arg(nextConnection++);
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    database.setDatabaseName(filePath);
    // SQLite opens lazily, so a store that is not a database only shows at the first statement.
    // Losing the last access times in a crash is harmless; waiting on fsync for each is not.
    open_ = database.open() && run(database, QStringLiteral("PRAGMA journal_mode=WAL")) &&
            run(database, QStringLiteral("PRAGMA synchronous=NORMAL")) && prepare(database, dropFiles);
    if (!open_) database.close();
}

UGCAvatarRecordStore::~UGCAvatarRecordStore() {
    QSqlDatabase::database(connectionName_, false).close();
    QSqlDatabase::removeDatabase(connectionName_);
}

std::optional<UGCAvatarRecord> UGCAvatarRecordStore::record(const QString& urlString) const {
    if (!open_) return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(connectionName_, false));
    query.prepare(QStringLiteral("SELECT file_name, content_type, byte_count, created_at, updated_at, last_accessed_at "
                                 "FROM avatar_images WHERE url_string = ?"));
    query.addBindValue(urlString);
    if (!query.exec() || !query.next()) return std::nullopt;
    UGCAvatarRecord found;
    found.urlString = urlString;
    found.fileName = query.value(0).toString();
    if (!query.value(1).isNull()) found.contentType = query.value(1).toString();
    found.byteCount = query.value(2).toLongLong();
    found.createdAt = fromEpochMilliseconds(query.value(3));
    found.updatedAt = fromEpochMilliseconds(query.value(4));
    found.lastAccessedAt = fromEpochMilliseconds(query.value(5));
    return found;
}

bool UGCAvatarRecordStore::save(const UGCAvatarRecord& record) {
    if (!open_) return false;
    QSqlQuery query(QSqlDatabase::database(connectionName_, false));
    query.prepare(QStringLiteral(
        "INSERT INTO avatar_images (url_string, file_name, content_type, byte_count, created_at, updated_at, last_accessed_at) "
        "VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT (url_string) DO UPDATE SET file_name = excluded.file_name, "
        "content_type = excluded.content_type, byte_count = excluded.byte_count, updated_at = excluded.updated_at, "
        "last_accessed_at = excluded.last_accessed_at"));
    query.addBindValue(record.urlString);
    query.addBindValue(record.fileName);
    query.addBindValue(optionalText(record.contentType));
    query.addBindValue(record.byteCount);
    query.addBindValue(epochMilliseconds(record.createdAt));
    query.addBindValue(epochMilliseconds(record.updatedAt));
    query.addBindValue(epochMilliseconds(record.lastAccessedAt));
    return query.exec();
}

bool UGCAvatarRecordStore::markAccessed(const QString& urlString, const QDateTime& at) {
    if (!open_) return false;
    QSqlQuery query(QSqlDatabase::database(connectionName_, false));
    query.prepare(QStringLiteral("UPDATE avatar_images SET last_accessed_at = ? WHERE url_string = ?"));
    query.addBindValue(epochMilliseconds(at));
    query.addBindValue(urlString);
    return query.exec();
}

bool UGCAvatarRecordStore::remove(const QString& urlString) {
    if (!open_) return false;
    QSqlQuery query(QSqlDatabase::database(connectionName_, false));
    query.prepare(QStringLiteral("DELETE FROM avatar_images WHERE url_string = ?"));
    query.addBindValue(urlString);
    return query.exec();
}

}  // namespace vexora

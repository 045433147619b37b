#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

namespace vexora {

// What the cache remembers about one URL's file.
struct UGCAvatarRecord {
    QString urlString;
    QString fileName;
    std::optional<QString> contentType;  // as the server sent it
    qint64 byteCount = 0;
    QDateTime createdAt;
    QDateTime updatedAt;
    QDateTime lastAccessedAt;

    bool operator==(const UGCAvatarRecord&) const = default;
};

// The avatar records in one SQLite file, on a connection of its own. A store that cannot be
// opened stays usable: it finds nothing and saves nothing. Use it on one thread only.
//
// The file carries its layout's version (SQLite's user_version). One from before versions (0)
// is upgraded in place. One from a newer version is never used as it is: `dropFiles` removes
// the image files its records may name, then the store is emptied and takes this version.
class UGCAvatarRecordStore {
public:
    static constexpr int schemaVersion = 1;

    explicit UGCAvatarRecordStore(const QString& filePath, const std::function<void()>& dropFiles = {});
    ~UGCAvatarRecordStore();
    UGCAvatarRecordStore(const UGCAvatarRecordStore&) = delete;
    UGCAvatarRecordStore& operator=(const UGCAvatarRecordStore&) = delete;

    bool isOpen() const { return open_; }

    std::optional<UGCAvatarRecord> record(const QString& urlString) const;
    // Inserts, or updates every field but createdAt of the URL's record.
    bool save(const UGCAvatarRecord& record);
    bool markAccessed(const QString& urlString, const QDateTime& at);
    bool remove(const QString& urlString);

private:
    QString connectionName_;
    bool open_ = false;
};

}  // namespace vexora

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

namespace vexora {

// The file an avatar URL is kept in when no record names one: SHA-256 of the URL's UTF-8
// bytes as lower-case hex, plus ".image".
QString avatarCacheFileName(const QString& urlString);

// Whether a stored file name stays inside the image directory when joined to it. Names read
// back from the record store pass through here, so a damaged store cannot point elsewhere.
bool isPlainFileName(const QString& fileName);

// Decode fully, so whoever receives the image on the GUI thread gets a ready bitmap.
// Meant for worker threads; none when the bytes or the file are not an image.
std::optional<QImage> decodeAvatarImage(const QByteArray& bytes);
std::optional<QImage> readAvatarImageFile(const QString& path);

// All or nothing: a failed write (full disk, missing directory) leaves no file behind.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace vexora

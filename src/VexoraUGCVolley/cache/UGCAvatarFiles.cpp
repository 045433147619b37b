#include "cache/UGCAvatarFiles.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>
#include <QSaveFile>

namespace vexora {

namespace {

std::optional<QImage> decodeFrom(QImageReader& reader) {
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    // The conversion touches every pixel, so nothing is left to do lazily at paint time.
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QString avatarCacheFileName(const QString& urlString) {
    const QByteArray digest = QCryptographicHash::hash(urlString.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex()) + QStringLiteral(".image");
}

bool isPlainFileName(const QString& fileName) {
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String("..")) return false;
    return !fileName.contains(QLatin1Char('/')) && !fileName.contains(QLatin1Char('\\')) &&
           !fileName.contains(QLatin1String("..")) && !fileName.contains(QChar(0));
}

std::optional<QImage> decodeAvatarImage(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer);
    return decodeFrom(reader);
}

std::optional<QImage> readAvatarImageFile(const QString& path) {
    QImageReader reader(path);
    return decodeFrom(reader);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // Without a commit the temporary file is discarded and the old file, if any, stays.
    if (file.write(bytes) != bytes.size()) return false;
    return file.commit();
}

}  // namespace vexora

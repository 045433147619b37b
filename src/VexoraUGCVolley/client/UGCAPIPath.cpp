#include "client/UGCAPIPath.h"

#include <QUrl>

namespace vexora {

namespace {

// What may stand unescaped beyond the unreserved characters.
const QByteArray queryExtras = "!$'()*,;:@/?";
const QByteArray pathSegmentExtras = "!$&'()*+,;=:@";

QString encoded(const QString& text, const QByteArray& extras) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, extras));
}

}  // namespace

QString makePath(const QString& basePath, const QueryItems& items) {
    QStringList rendered;
    for (const auto& [name, value] : items)
        rendered.append(encoded(name, queryExtras) + QLatin1Char('=') + encoded(value.value_or(QString()), queryExtras));
    if (rendered.isEmpty()) return basePath;
    return basePath + QLatin1Char('?') + rendered.join(QLatin1Char('&'));
}

QString encodedPathSegment(const QString& id) { return encoded(id, pathSegmentExtras); }

}  // namespace vexora

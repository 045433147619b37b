#include "shell/AppcastFeed.h"

#include <QXmlStreamReader>

namespace vexora {

namespace {

const QString sparkleNamespace = QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

std::optional<QUrl> urlFrom(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    QUrl url(trimmed);
    if (!url.isValid()) return std::nullopt;
    return url;
}

bool isElement(const QXmlStreamReader& reader, const QString& namespaceUri, QLatin1String name) {
    return reader.namespaceUri() == namespaceUri && reader.name() == name;
}

bool isRSSElement(const QXmlStreamReader& reader, QLatin1String name) { return isElement(reader, QString(), name); }

bool isSparkleElement(const QXmlStreamReader& reader, QLatin1String name) {
    return isElement(reader, sparkleNamespace, name);
}

// Lenient about markup nested in a value; only the text counts.
QString elementText(QXmlStreamReader& reader) {
    return reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
}

// The first occurrence wins for every value; elements win over enclosure attributes.
AppcastItem readItem(QXmlStreamReader& reader) {
    AppcastItem item;
    std::optional<QString> elementVersion, elementDisplayVersion, notes;
    std::optional<QString> attributeVersion, attributeDisplayVersion, enclosure;
    auto takeText = [&reader](std::optional<QString>& into) {
        const QString text = elementText(reader);
        if (!into) into = text;
    };
    while (reader.readNextStartElement()) {
        if (isSparkleElement(reader, QLatin1String("version"))) {
            takeText(elementVersion);
        } else if (isSparkleElement(reader, QLatin1String("shortVersionString"))) {
            takeText(elementDisplayVersion);
        } else if (isSparkleElement(reader, QLatin1String("releaseNotesLink"))) {
            takeText(notes);
        } else if (isRSSElement(reader, QLatin1String("enclosure"))) {
            const QXmlStreamAttributes attributes = reader.attributes();
            if (!enclosure) {
                enclosure = attributes.value(QLatin1String("url")).toString();
                attributeVersion = attributes.value(sparkleNamespace, QLatin1String("version")).toString().trimmed();
                attributeDisplayVersion =
                    attributes.value(sparkleNamespace, QLatin1String("shortVersionString")).toString().trimmed();
            }
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }
    auto firstNonEmpty = [](const std::optional<QString>& preferred, const std::optional<QString>& fallback) {
        if (preferred && !preferred->isEmpty()) return *preferred;
        return fallback.value_or(QString());
    };
    item.version = firstNonEmpty(elementVersion, attributeVersion);
    item.displayVersion = firstNonEmpty(elementDisplayVersion, attributeDisplayVersion);
    if (notes) item.releaseNotesURL = urlFrom(*notes);
    if (enclosure) item.enclosureURL = urlFrom(*enclosure);
    return item;
}

// The digits a version part starts with, without leading zeros, so that they compare as text.
// A version read as runs of digits and of letters; anything else separates them. Build
// metadata after a "+" does not order releases.
struct VersionPart {
    bool isNumber;
    QStringView text;  // a number without its leading zeros
};

QList<VersionPart> versionParts(QStringView version) {
    version = version.left(version.indexOf(QLatin1Char('+')) < 0 ? version.size() : version.indexOf(QLatin1Char('+')));
    QList<VersionPart> parts;
    qsizetype i = 0;
    while (i < version.size()) {
        const QChar c = version[i];
        const bool digit = c.isDigit(), letter = c.isLetter();
        if (!digit && !letter) {
            ++i;
            continue;
        }
        const qsizetype begin = i;
        while (i < version.size() && (digit ? version[i].isDigit() : version[i].isLetter())) ++i;
        QStringView run = version.sliced(begin, i - begin);
        if (digit)
            while (run.size() > 0 && run.front() == QLatin1Char('0')) run = run.sliced(1);
        parts.append({digit, run});
    }
    return parts;
}

bool isZero(const VersionPart& part) { return part.isNumber && part.text.isEmpty(); }

// What a longer version's rest says against its end: zeros change nothing, a number makes it a
// later release, letters make it a pre-release of the shorter one ("2.0b1" before "2.0").
int orderOfRest(const QList<VersionPart>& parts, qsizetype from) {
    for (qsizetype i = from; i < parts.size(); ++i)
        if (!isZero(parts[i])) return parts[i].isNumber ? 1 : -1;
    return 0;
}

}  // namespace

QString AppcastItem::shownVersion() const {
    const QString trimmed = displayVersion.trimmed();
    return trimmed.isEmpty() ? version : trimmed;
}

std::optional<AppcastItem> AppcastFeed::newestItem() const {
    std::optional<AppcastItem> newest;
    for (const AppcastItem& item : items)
        if (!newest || compareVersions(item.version, newest->version) > 0) newest = item;
    return newest;
}

AppcastFeed AppcastFeed::parse(const QByteArray& xml) {
    QXmlStreamReader reader(xml);
    AppcastFeed feed;
    bool sawChannel = false;
    if (reader.readNextStartElement()) {
        if (!isRSSElement(reader, QLatin1String("rss")))
            throw AppcastError(QStringLiteral("The update feed is not an RSS document."));
        while (reader.readNextStartElement()) {
            if (sawChannel || !isRSSElement(reader, QLatin1String("channel"))) {
                reader.skipCurrentElement();
                continue;
            }
            sawChannel = true;
            while (reader.readNextStartElement()) {
                if (!isRSSElement(reader, QLatin1String("item"))) {
                    reader.skipCurrentElement();
                    continue;
                }
                AppcastItem item = readItem(reader);
                if (!item.version.isEmpty()) feed.items.append(std::move(item));
            }
        }
    }
    // Read to the end so that damage after the channel is noticed too.
    while (!reader.atEnd()) reader.readNext();
    if (reader.hasError())
        throw AppcastError(QStringLiteral("The update feed is not valid XML: %1 (line %2).")
                               .arg(reader.errorString())
                               .arg(reader.lineNumber()));
    if (!sawChannel) throw AppcastError(QStringLiteral("The update feed has no channel."));
    return feed;
}

int AppcastFeed::compareVersions(const QString& a, const QString& b) {
    const QList<VersionPart> left = versionParts(a), right = versionParts(b);
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        const VersionPart& x = left[i];
        const VersionPart& y = right[i];
        // A number is later than letters in its place: "2.0.1" after "2.0.rc1".
        if (x.isNumber != y.isNumber) return x.isNumber ? 1 : -1;
        if (x.isNumber && x.text.size() != y.text.size()) return x.text.size() < y.text.size() ? -1 : 1;
        if (const int order = x.text.compare(y.text, Qt::CaseInsensitive); order != 0) return order < 0 ? -1 : 1;
    }
    return left.size() >= right.size() ? orderOfRest(left, common) : -orderOfRest(right, common);
}

}  // namespace vexora

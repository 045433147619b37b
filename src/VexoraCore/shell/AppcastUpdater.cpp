#include "shell/AppcastUpdater.h"

#include "foundation/ErrorText.h"
#include "foundation/NetworkCall.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QXmlStreamReader>

namespace vexora {

namespace {

const QString sparkleNamespace = QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");
constexpr int feedTimeoutMilliseconds = 30'000;

// Only web pages are opened: a feed must not make us launch arbitrary URL handlers.
bool isWebURL(const QUrl& url) {
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
           !url.host().isEmpty();
}

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
QStringView numericValue(QStringView part) {
    qsizetype end = 0;
    while (end < part.size() && part[end] >= QLatin1Char('0') && part[end] <= QLatin1Char('9')) ++end;
    qsizetype begin = 0;
    while (begin < end && part[begin] == QLatin1Char('0')) ++begin;
    return part.sliced(begin, end - begin);
}

// Relative links in a feed are relative to the feed itself.
AppcastItem resolvedAgainst(AppcastItem item, const QUrl& feedURL) {
    if (item.releaseNotesURL) item.releaseNotesURL = feedURL.resolved(*item.releaseNotesURL);
    if (item.enclosureURL) item.enclosureURL = feedURL.resolved(*item.enclosureURL);
    return item;
}

std::optional<QUrl> downloadPage(const AppcastItem& item) {
    for (const std::optional<QUrl>& candidate : {item.enclosureURL, item.releaseNotesURL})
        if (candidate && isWebURL(*candidate)) return candidate;
    return std::nullopt;
}

}  // namespace

QString AppcastItem::shownVersion() const {
    const QString trimmed = displayVersion.trimmed();
    return trimmed.isEmpty() ? version : trimmed;
}

std::optional<AppcastItem> AppcastFeed::newestItem() const {
    std::optional<AppcastItem> newest;
    for (const AppcastItem& item : items)
        if (!newest || AppcastUpdater::compareVersions(item.version, newest->version) > 0) newest = item;
    return newest;
}

AppcastUpdater::AppcastUpdater(QUrl feedURL, QString currentVersion, QNetworkAccessManager& network, QObject* parent)
    : QObject(parent),
      feedURL_(std::move(feedURL)),
      currentVersion_(std::move(currentVersion)),
      network_(&network),
      presenter_(&AppcastUpdater::presentDialog) {}

// A check in flight aborts its request and ends without an outcome.
AppcastUpdater::~AppcastUpdater() { stop_.request_stop(); }

AppcastFeed AppcastUpdater::parseAppcast(const QByteArray& xml) {
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

int AppcastUpdater::compareVersions(const QString& a, const QString& b) {
    const QList<QStringView> left = QStringView(a).split(QLatin1Char('.'));
    const QList<QStringView> right = QStringView(b).split(QLatin1Char('.'));
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const QStringView x = i < left.size() ? numericValue(left[i]) : QStringView();
        const QStringView y = i < right.size() ? numericValue(right[i]) : QStringView();
        if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
        if (const int order = x.compare(y); order != 0) return order < 0 ? -1 : 1;
    }
    return 0;
}

void AppcastUpdater::presentDialog(const AppcastNotice& notice) {
    // A command-line process has no widgets to show.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning("Update check: %s", qUtf8Printable(notice.text));
        return;
    }
    const QMessageBox::Icon icon =
        notice.kind == AppcastNotice::Kind::error ? QMessageBox::Warning : QMessageBox::Information;
    auto* box = new QMessageBox(icon, QGuiApplication::applicationDisplayName(), notice.text, QMessageBox::NoButton);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    QPushButton* download = nullptr;
    if (notice.kind == AppcastNotice::Kind::updateAvailable && notice.downloadURL) {
        download = box->addButton(QStringLiteral("Download"), QMessageBox::AcceptRole);
        box->addButton(QStringLiteral("Not Now"), QMessageBox::RejectRole);
        box->setDefaultButton(download);
    } else {
        box->addButton(QMessageBox::Ok);
    }
    QObject::connect(box, &QMessageBox::buttonClicked, box,
                     [download, url = notice.downloadURL.value_or(QUrl())](QAbstractButton* clicked) {
                         if (download && clicked == download && isWebURL(url)) QDesktopServices::openUrl(url);
                     });
    box->show();
}

std::optional<QString> AppcastUpdater::start() {
    if (started_) return std::nullopt;
    if (!isWebURL(feedURL_))
        return QStringLiteral("The update feed address \"%1\" is not a web address.").arg(feedURL_.toString());
    started_ = true;
    setCanCheckForUpdates(true);
    return std::nullopt;
}

void AppcastUpdater::setCanCheckForUpdates(bool canCheck) {
    if (canCheckForUpdates_ == canCheck) return;
    canCheckForUpdates_ = canCheck;
    emit canCheckForUpdatesChanged(canCheck);
}

void AppcastUpdater::checkForUpdates(bool showUserInterface) {
    if (!canCheckForUpdates_) return;
    setCanCheckForUpdates(false);
    runCheck(this, showUserInterface);
}

QCoro::Task<void> AppcastUpdater::runCheck(QPointer<AppcastUpdater> self, bool showUserInterface) {
    const QUrl feedURL = self->feedURL_;
    const QString currentVersion = self->currentVersion_;
    QNetworkAccessManager& network = *self->network_;
    const std::stop_token stop = self->stop_.get_token();
    QNetworkRequest request(feedURL);
    request.setTransferTimeout(feedTimeoutMilliseconds);
    const QByteArray method("GET");
    const std::optional<QByteArray> noBody;

    std::optional<AppcastItem> update;
    std::optional<QString> failure;
    try {
        const HTTPReply reply = co_await sendRequest(network, std::move(request), method, noBody, stop);
        if (!reply.isSuccess()) {
            throw AppcastError(reply.statusCode
                                   ? QStringLiteral("The update feed could not be loaded (HTTP %1).").arg(*reply.statusCode)
                                   : QStringLiteral("The update feed could not be loaded."));
        }
        const AppcastFeed feed = parseAppcast(reply.body);
        const std::optional<AppcastItem> newest = feed.newestItem();
        if (newest && compareVersions(newest->version, currentVersion) > 0) update = resolvedAgainst(*newest, feedURL);
    } catch (...) {
        failure = errorText(std::current_exception());
    }
    if (!self) co_return;
    self->finishCheck(update, failure, showUserInterface);
}

void AppcastUpdater::finishCheck(const std::optional<AppcastItem>& update, const std::optional<QString>& failure,
                                 bool showUserInterface) {
    // Ready again before anyone hears the outcome, so listeners see the settled state.
    setCanCheckForUpdates(true);
    const QPointer<AppcastUpdater> alive(this);
    AppcastNotice notice;
    if (failure) {
        notice = AppcastNotice{AppcastNotice::Kind::error, *failure, std::nullopt};
        emit abortedWithError(*failure);
    } else if (update) {
        notice = AppcastNotice{AppcastNotice::Kind::updateAvailable,
                               QStringLiteral("Version %1 is available.").arg(update->shownVersion()),
                               downloadPage(*update)};
        emit foundValidUpdate(*update);
    } else {
        notice = AppcastNotice{AppcastNotice::Kind::upToDate, QStringLiteral("You're up to date."), std::nullopt};
        emit didNotFindUpdate();
    }
    if (alive && showUserInterface && presenter_) presenter_(notice);
}

}  // namespace vexora

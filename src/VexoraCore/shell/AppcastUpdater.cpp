#include "shell/AppcastUpdater.h"

#include "foundation/ErrorText.h"
#include "foundation/NetworkCall.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPushButton>

namespace vexora {

namespace {

constexpr int feedTimeoutMilliseconds = 30'000;

// Only web pages are opened: a feed must not make us launch arbitrary URL handlers.
bool isWebURL(const QUrl& url) {
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
           !url.host().isEmpty();
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

AppcastUpdater::AppcastUpdater(QUrl feedURL, QString currentVersion, QNetworkAccessManager& network, QObject* parent)
    : QObject(parent),
      feedURL_(std::move(feedURL)),
      currentVersion_(std::move(currentVersion)),
      network_(&network),
      presenter_(&AppcastUpdater::presentDialog) {}

// A check in flight aborts its request and ends without an outcome.
AppcastUpdater::~AppcastUpdater() { stop_.request_stop(); }

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
        const AppcastFeed feed = AppcastFeed::parse(reply.body);
        const std::optional<AppcastItem> newest = feed.newestItem();
        if (newest && AppcastFeed::compareVersions(newest->version, currentVersion) > 0) update = resolvedAgainst(*newest, feedURL);
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

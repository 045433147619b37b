#pragma once

#include "foundation/DescribedError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace vexora {

// One release announced by the update feed.
struct AppcastItem {
    QString version;         // machine version, compared with AppcastFeed::compareVersions
    QString displayVersion;  // what users are shown; may be empty
    std::optional<QUrl> releaseNotesURL;
    std::optional<QUrl> enclosureURL;

    bool operator==(const AppcastItem&) const = default;

    // The display version trimmed, or the version when that leaves nothing.
    QString shownVersion() const;
};

// The update feed as read: Qt Core only, so that tools and fuzzers read it without widgets.
struct AppcastFeed {
    QList<AppcastItem> items;  // in feed order

    bool operator==(const AppcastFeed&) const = default;

    // The item with the highest version; the earliest of equals.
    std::optional<AppcastItem> newestItem() const;

    // Throws AppcastError on malformed XML, a root other than <rss>, or no <channel>.
    static AppcastFeed parse(const QByteArray& xml);
    // Negative, zero or positive as `a` is older than, equal to or newer than `b`.
    static int compareVersions(const QString& a, const QString& b);
};

// The update feed could not be read as an appcast.
class AppcastError : public DescribedError {
public:
    explicit AppcastError(QString text) : text_(std::move(text)) {}
    QString errorDescription() const override { return text_; }

private:
    QString text_;
};

}  // namespace vexora

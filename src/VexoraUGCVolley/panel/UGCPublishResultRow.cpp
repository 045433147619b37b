#include "panel/UGCPublishResultRow.h"

#include "panel/UGCResultActionLink.h"
#include "ui/PanelWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

namespace {

QString platformIcon(const QString& platform) {
    if (platform == QLatin1String("tiktok")) return QStringLiteral("music.note");
    if (platform == QLatin1String("youtube_shorts")) return QStringLiteral("play.rectangle.fill");
    if (platform == QLatin1String("instagram") || platform == QLatin1String("instagram_reels"))
        return QStringLiteral("camera.circle.fill");
    return QStringLiteral("paperplane.fill");
}

QString platformName(const QString& platform) {
    if (platform == QLatin1String("tiktok")) return QStringLiteral("TikTok");
    if (platform == QLatin1String("instagram_reels")) return QStringLiteral("Instagram Reels");
    return platform;
}

}  // namespace

UGCPublishResultRow::UGCPublishResultRow(UGCAppState& state, const PublishResult& result, QWidget* parent) : QFrame(parent) {
    using namespace PanelWidgets;
    const QString key = result.platform.isEmpty() ? QStringLiteral("default") : result.platform;
    setObjectName(QStringLiteral("ugc.publish-result.") + key);
    setProperty("role", QStringLiteral("inset"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(10);
    row->addWidget(symbolLabel(platformIcon(result.platform), 24, {}, Colour::accent), 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(8);
    heading->addWidget(label(platformName(result.platform), QStringLiteral("heading")));
    const bool failed = result.didFail();
    QLabel* status = label(failed ? QStringLiteral("Publish failed") : QStringLiteral("Publish succeeded"),
                           failed ? QStringLiteral("pill-danger") : QStringLiteral("pill-muted"));
    status->setObjectName(QStringLiteral("ugc.publish-result.status.") + key);
    heading->addWidget(status);
    heading->addStretch();
    texts->addLayout(heading);
    if (result.postID) {
        QLabel* post = label(QStringLiteral("Post ID: ") + *result.postID, QStringLiteral("secondary"));
        post->setTextInteractionFlags(Qt::TextSelectableByMouse);
        texts->addWidget(post);
    }
    auto* open = new UGCResultActionLink(state, QStringLiteral("Open published post"), QStringLiteral("arrow.up.right"), this);
    open->setObjectName(QStringLiteral("ugc.publish-result.open.") + key);
    open->setToolTip(QStringLiteral("Opens the published post."));
    open->setDestination(result.url);
    texts->addWidget(open, 0, Qt::AlignLeft);
    row->addLayout(texts, 1);
}

}  // namespace vexora

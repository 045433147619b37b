#include "panel/UGCHistoryRow.h"

#include "panel/UGCElidedLabel.h"
#include "panel/UGCRemoteAvatarImage.h"
#include "panel/UGCResultActionLink.h"
#include "panel/UGCVideoPreview.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

namespace {

constexpr int thumbnailSide = 42;

QString rowTitle(const UGCHistoryItem& item) {
    for (const QString& candidate : {item.title.value_or(QString()), item.topic.value_or(QString())})
        if (!candidate.trimmed().isEmpty()) return candidate;
    return item.id;
}

// When it was made, how long it runs, and whether a schedule made it.
QString detailLine(const UGCHistoryItem& item) {
    QStringList parts;
    if (item.createdAt) {
        const QDateTime created = QDateTime::fromString(*item.createdAt, Qt::ISODateWithMs);
        if (created.isValid()) parts << QLocale().toString(created.toLocalTime(), QLocale::ShortFormat);
    }
    if (item.durationSeconds) parts << QStringLiteral("%1s").arg(*item.durationSeconds);
    if (item.scheduleID) parts << QStringLiteral("Scheduled");
    return parts.join(QStringLiteral(" · "));
}

QList<PublishResult> publishResultsOf(const UGCHistoryItem& item) {
    return item.publishResults ? item.publishResults->results : QList<PublishResult>{};
}

}  // namespace

UGCHistoryRow::UGCHistoryRow(UGCPanelContext& context, const UGCHistoryItem& item, QWidget* parent)
    : QWidget(parent), context_(context), item_(item), videoURL_(validatedRemoteURLString(item.videoURL)) {
    using namespace PanelWidgets;
    setObjectName(QStringLiteral("ugc.history.row.") + item_.id);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(6);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(buildThumbnail());
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* title = new UGCElidedLabel(rowTitle(item_), QStringLiteral("heading"));
    title->setObjectName(QStringLiteral("ugc.history.title.") + item_.id);
    texts->addWidget(title);
    const QString details = detailLine(item_);
    if (!details.isEmpty()) texts->addWidget(new UGCElidedLabel(details, QStringLiteral("secondary")));
    texts->addStretch();
    top->addLayout(texts, 1);
    // Beside the title: the row of actions has no room for a sixth.
    preview_ = new UGCVideoPreviewToggle(QStringLiteral("ugc.history."), QStringLiteral(".") + item_.id);
    preview_->setProperty("compact", true);
    preview_->setIconSize(QSize(12, 12));
    preview_->setVideoURL(item_.videoURL);
    top->addWidget(preview_, 0, Qt::AlignTop);
    column->addLayout(top);
    column->addLayout(buildActions());
    preview_->placePreviewIn(column, -1);
    refresh();
}

QWidget* UGCHistoryRow::buildThumbnail() {
    if (item_.avatarURL && !item_.avatarURL->isEmpty()) {
        auto* face = new UGCRemoteAvatarImage(context_.images, thumbnailSide, 9);
        face->setAvatarURL(*item_.avatarURL);
        return face;
    }
    auto* frame = new QFrame;
    frame->setProperty("role", QStringLiteral("inset"));
    frame->setFixedSize(thumbnailSide, thumbnailSide);
    auto* centre = new QHBoxLayout(frame);
    centre->setContentsMargins(0, 0, 0, 0);
    centre->addWidget(PanelWidgets::symbolLabel(item_.videoURL ? QStringLiteral("video.fill") : QStringLiteral("text.quote"), 20),
                      0, Qt::AlignCenter);
    return frame;
}

QLayout* UGCHistoryRow::buildActions() {
    using namespace PanelWidgets;
    UGCAppState& state = context_.state;
    const QString& id = item_.id;
    auto* actions = new QHBoxLayout;
    actions->setContentsMargins(0, 0, 0, 0);
    actions->setSpacing(0);  // the buttons' own margins keep them apart; five must fit the card
    const auto add = [&](QToolButton* button, const QString& identifier) {
        button->setObjectName(identifier + id);
        button->setProperty("compact", true);
        button->setIconSize(QSize(12, 12));
        actions->addWidget(button);
    };

    auto* open = new UGCResultActionLink(state, QStringLiteral("Open"), QStringLiteral("play.circle"), this);
    open->setDestination(videoURL_);
    add(open, QStringLiteral("ugc.history.open."));

    download_ = textButton(QStringLiteral("Download"), QStringLiteral("arrow.down.circle"));
    connect(download_, &QToolButton::clicked, this, [this] {
        if (videoURL_)
            context_.state.presentVideoDownload(QUrl(*videoURL_), QStringLiteral("vexora-ugc-") + item_.id + QStringLiteral(".mp4"));
    });
    add(download_, QStringLiteral("ugc.history.download."));

    if (item_.script) {
        QToolButton* copy = textButton(QStringLiteral("Copy script"), QStringLiteral("doc.on.doc"));
        connect(copy, &QToolButton::clicked, this, [this] {
            if (context_.copyToClipboard) context_.copyToClipboard(*item_.script);
        });
        add(copy, QStringLiteral("ugc.history.copy-script."));
    }
    if (anyPublishFailed(publishResultsOf(item_))) {
        retryFailed_ = textButton(QStringLiteral("Retry failed"), QStringLiteral("paperplane.circle"));
        connect(retryFailed_, &QToolButton::clicked, this, [this] { retryFailedPublish(); });
        add(retryFailed_, QStringLiteral("ugc.history.retry-failed."));
    }
    QToolButton* regenerate = textButton(QStringLiteral("Regenerate"), QStringLiteral("arrow.triangle.2.circlepath"));
    connect(regenerate, &QToolButton::clicked, this, [this] { context_.state.prefillFromHistory(item_); });
    add(regenerate, QStringLiteral("ugc.history.regenerate."));
    actions->addStretch();
    return actions;
}

void UGCHistoryRow::refresh() {
    const UGCAppState& state = context_.state;
    download_->setEnabled(videoURL_.has_value() && !state.isDownloadingVideo());
    // While a publish runs, a retry would replace the run's output and then be refused.
    if (retryFailed_) retryFailed_->setEnabled(state.step() != UGCStep::publishing);
}

void UGCHistoryRow::retryFailedPublish() {
    UGCAppState& state = context_.state;
    state.prefillFromHistory(item_);
    state.setDbID(item_.id);
    state.setVideoURL(item_.videoURL);
    state.setScript(item_.script);
    state.setPublishResults(publishResultsOf(item_));
    state.publishCurrent(true);
}

}  // namespace vexora

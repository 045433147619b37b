#include "panel/UGCResultCard.h"

#include "panel/UGCErrorCallout.h"
#include "panel/UGCInlineStatusCallout.h"
#include "panel/UGCProgressTimeline.h"
#include "panel/UGCPublishResultRow.h"
#include "panel/UGCResultActionLink.h"
#include "panel/UGCScriptSnippet.h"
#include "panel/UGCStepBadge.h"
#include "panel/UGCVideoPreview.h"
#include "ui/CompactActionButton.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

namespace {

QToolButton* pill(const QString& title, const QString& iconName, const QString& identifier) {
    QToolButton* button = PanelWidgets::textButton(title, iconName);
    button->setProperty("pill", true);
    button->setObjectName(identifier);
    return button;
}

}  // namespace

UGCResultCard::UGCResultCard(UGCPanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    using namespace PanelWidgets;
    UGCAppState& state = context_.state;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto* header = new QHBoxLayout;
    header->addWidget(label(QStringLiteral("Result"), QStringLiteral("caption")));
    header->addStretch();
    badge_ = new UGCStepBadge;
    badge_->setObjectName(QStringLiteral("ugc.result.badge"));
    header->addWidget(badge_);
    column->addLayout(header);

    timeline_ = new UGCProgressTimeline;
    column->addWidget(timeline_);
    error_ = new UGCErrorCallout(state);
    column->addWidget(error_);
    rendering_ = new UGCInlineStatusCallout(
        QStringLiteral("video.badge.waveform.fill"), QStringLiteral("Rendering video"),
        QStringLiteral("Vexora is turning the script and avatar into a short. This usually takes about a minute."));
    rendering_->setObjectName(QStringLiteral("ugc.video-rendering.callout"));
    column->addWidget(rendering_);

    // The links row has no room left, so Preview sits beside the title.
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(8);
    title_ = label({}, QStringLiteral("title"));
    title_->setWordWrap(true);
    title_->setObjectName(QStringLiteral("ugc.result.title"));
    titleRow->addWidget(title_, 1);
    preview_ = new UGCVideoPreviewToggle(QStringLiteral("ugc.result."), QString());
    preview_->setProperty("pill", true);
    titleRow->addWidget(preview_, 0, Qt::AlignTop);
    column->addLayout(titleRow);
    snippet_ = new UGCScriptSnippet(context_.copyToClipboard);
    column->addWidget(snippet_);

    column->addLayout(buildActions());
    publishResults_ = new QVBoxLayout;
    publishResults_->setSpacing(6);
    column->addLayout(publishResults_);
}

QLayout* UGCResultCard::buildActions() {
    using namespace PanelWidgets;
    UGCAppState& state = context_.state;
    auto* rows = new QVBoxLayout;
    rows->setSpacing(8);

    auto* links = new QHBoxLayout;
    links->setSpacing(6);
    openVideo_ = new UGCResultActionLink(state, QStringLiteral("Open video"), QStringLiteral("play.circle.fill"), this);
    openVideo_->setProperty("pill", true);
    openVideo_->setObjectName(QStringLiteral("ugc.result.open-video"));
    download_ = pill(QStringLiteral("Download"), QStringLiteral("arrow.down.circle"), QStringLiteral("ugc.result.download"));
    connect(download_, &QToolButton::clicked, this, [&state] { state.downloadVideo(); });
    useAvatar_ = pill(QStringLiteral("Use avatar"), QStringLiteral("person.crop.circle.badge.checkmark"),
                      QStringLiteral("ugc.result.use-avatar"));
    connect(useAvatar_, &QToolButton::clicked, this, [&state] { state.setReusedAvatarURL(state.avatarURL()); });
    for (QToolButton* button : {static_cast<QToolButton*>(openVideo_), download_, useAvatar_}) links->addWidget(button);
    links->addStretch();
    rows->addLayout(links);
    preview_->placePreviewIn(rows, 1);  // under the links, above Publish

    auto* main = new QHBoxLayout;
    main->setSpacing(8);
    publish_ = new CompactActionButton(QStringLiteral("Publish"), CompactActionButton::Prominence::primary);
    publish_->setObjectName(QStringLiteral("ugc.result.publish"));
    setSymbol(publish_, QStringLiteral("paperplane.circle"), 16, Colour::onAccent);
    connect(publish_, &QPushButton::clicked, this,
            [&state] { state.publishCurrent(anyPublishFailed(state.publishResults())); });
    auto* generateNew = new CompactActionButton(QStringLiteral("Generate new"), CompactActionButton::Prominence::secondary);
    generateNew->setObjectName(QStringLiteral("ugc.result.generate-new"));
    setSymbol(generateNew, QStringLiteral("plus.circle"), 16, Colour::accent);
    connect(generateNew, &QPushButton::clicked, this, [&state] { state.generateAnother(); });
    main->addWidget(publish_, 1);
    main->addWidget(generateNew, 1);
    rows->addLayout(main);
    return rows;
}

void UGCResultCard::refresh() {
    const UGCAppState& state = context_.state;
    const UGCStep step = state.step();
    badge_->setStep(step);
    timeline_->setStep(step);
    error_->refresh();
    rendering_->setVisible(step == UGCStep::video || step == UGCStep::polling);

    title_->setVisible(state.title().has_value());
    if (state.title() && title_->text() != *state.title()) title_->setText(*state.title());
    snippet_->setVisible(state.script().has_value());
    if (state.script()) snippet_->setScript(*state.script());

    refreshActions();
    refreshPublishResults();
}

void UGCResultCard::refreshActions() {
    using namespace PanelWidgets;
    const UGCAppState& state = context_.state;
    openVideo_->setDestination(state.videoURL());
    preview_->setVideoURL(state.videoURL());

    const bool downloading = state.isDownloadingVideo();
    setTitle(download_, downloading ? QStringLiteral("Downloading") : QStringLiteral("Download"));
    setSymbol(download_, downloading ? QStringLiteral("hourglass") : QStringLiteral("arrow.down.circle"), 14, Colour::accent);
    download_->setEnabled(!downloading);

    useAvatar_->setVisible(state.avatarURL().has_value());

    publish_->setTitle(anyPublishFailed(state.publishResults()) ? QStringLiteral("Retry failed publish")
                                                                : QStringLiteral("Publish"));
    publish_->setEnabled(state.canPublishCurrent());
}

void UGCResultCard::refreshPublishResults() {
    const QList<PublishResult>& results = context_.state.publishResults();
    if (shownPublishResults_ == results) return;
    shownPublishResults_ = results;
    PanelWidgets::clearLayout(publishResults_);
    for (const PublishResult& result : results) PanelWidgets::addShown(publishResults_, new UGCPublishResultRow(context_.state, result));
}

}  // namespace vexora

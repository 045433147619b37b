#include "panel/UGCVideoPreview.h"

#include "preview/VideoPreviewBackend.h"
#include "preview/VideoPreviewLoader.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCWorkspacePreferences.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QUrl>

namespace vexora {

namespace {

Q_LOGGING_CATEGORY(previewLog, "vexora.preview")

constexpr int controlSide = 30;

// Keeps the 9:16 of a short at whatever width the panel gives it.
class PortraitBox : public QWidget {
public:
    PortraitBox() {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }
    QSize sizeHint() const override { return {360, 640}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return (width * 16 + 8) / 9; }

    // No layout: a layout's own height-for-width would stand in for this box's.
    void fill(QWidget* child) {
        child->setGeometry(rect());
        child->show();
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setGeometry(rect());
    }
};

}  // namespace

UGCVideoPreview::UGCVideoPreview(const QString& identifierPrefix, const QString& identifierSuffix, QWidget* parent)
    : QWidget(parent) {
    using namespace PanelWidgets;
    const auto name = [&](const char* part) { return identifierPrefix + QLatin1String(part) + identifierSuffix; };
    identify(this, name("preview-player"), QStringLiteral("Video preview"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    picture_ = new PortraitBox;
    identify(picture_, name("preview-video"), QStringLiteral("Video"));
    column->addWidget(picture_);

    loading_ = label(QStringLiteral("Loading preview..."), QStringLiteral("secondary"));
    column->addWidget(loading_);
    message_ = label({}, QStringLiteral("error"));
    message_->setWordWrap(true);
    message_->setObjectName(name("preview-message"));
    message_->hide();
    column->addWidget(message_);

    controls_ = new QWidget;
    auto* row = new QHBoxLayout(controls_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    playPause_ = iconButton(QStringLiteral("pause.fill"), QStringLiteral("Pause preview"), QStringLiteral("Pause"), controlSide);
    playPause_->setObjectName(name("preview-play"));
    connect(playPause_, &QToolButton::clicked, this, [this] {
        if (surface_) surface_->setPaused(surface_->isPlaying());
    });
    mute_ = iconButton(QStringLiteral("speaker.slash.fill"), QStringLiteral("Unmute preview"), QStringLiteral("Unmute"), controlSide);
    mute_->setObjectName(name("preview-mute"));
    connect(mute_, &QToolButton::clicked, this, [this] {
        if (surface_) surface_->setMuted(!surface_->isMuted());
    });
    row->addWidget(playPause_);
    row->addWidget(mute_);
    row->addStretch();
    column->addWidget(controls_);
    refreshControls();
}

// The surface goes first, while this widget is still whole for any last report.
UGCVideoPreview::~UGCVideoPreview() {
    if (surface_) delete surface_->widget();
}

void UGCVideoPreview::play(const QString& url) {
    if (!validatedRemoteURLString(url))
        return showProblem(QStringLiteral("This video is not on the web, so it cannot play here."), url);
    const VideoPreviewLoad& loaded = loadVideoPreviewBackend();
    if (!loaded.backend) {
        qCWarning(previewLog) << "no video preview:" << loaded.problem;
        return showProblem(QStringLiteral("Video preview is not available in this installation."), loaded.problem);
    }
    surface_ = loaded.backend->createSurface(picture_, {[this] { refreshControls(); },
                                                        [this](const QString& reason) {
                                                            showProblem(QStringLiteral("Could not play this video here. "
                                                                                       "Open it in the browser instead."),
                                                                        reason);
                                                        }});
    static_cast<PortraitBox*>(picture_)->fill(surface_->widget());
    surface_->play(QUrl(url, QUrl::StrictMode));
    refreshControls();
}

void UGCVideoPreview::hideEvent(QHideEvent* event) {
    if (surface_) surface_->setPaused(true);
    QWidget::hideEvent(event);
}

void UGCVideoPreview::showProblem(const QString& message, const QString& detail) {
    if (surface_) {
        surface_->widget()->deleteLater();  // may be inside the surface's own report
        surface_ = nullptr;
    }
    message_->setText(message);
    message_->setToolTip(detail);
    message_->setAccessibleDescription(detail);
    message_->show();
    picture_->hide();
    loading_->hide();
    controls_->hide();
    PanelWidgets::setAccessibleValue(this, message);
}

void UGCVideoPreview::refreshControls() {
    using namespace PanelWidgets;
    if (!surface_) return;
    const bool playing = surface_->isPlaying();
    const bool muted = surface_->isMuted();
    loading_->setVisible(surface_->framesShown() == 0);
    setSymbol(playPause_, playing ? QStringLiteral("pause.fill") : QStringLiteral("play.fill"), controlSide / 2);
    playPause_->setAccessibleName(playing ? QStringLiteral("Pause preview") : QStringLiteral("Play preview"));
    playPause_->setAccessibleDescription(playing ? QStringLiteral("Stops the clip where it is.")
                                                 : QStringLiteral("Plays the clip on from where it stopped."));
    playPause_->setToolTip(playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
    setSymbol(mute_, muted ? QStringLiteral("speaker.slash.fill") : QStringLiteral("speaker.wave.2.fill"), controlSide / 2);
    mute_->setAccessibleName(muted ? QStringLiteral("Unmute preview") : QStringLiteral("Mute preview"));
    mute_->setAccessibleDescription(muted ? QStringLiteral("Turns the clip's sound on.") : QStringLiteral("Turns the clip's sound off."));
    mute_->setToolTip(muted ? QStringLiteral("Unmute") : QStringLiteral("Mute"));
    setAccessibleValue(this, QString(playing ? QStringLiteral("Playing") : QStringLiteral("Paused")) +
                                 (muted ? QStringLiteral(", muted") : QString()));
}

UGCVideoPreviewToggle::UGCVideoPreviewToggle(QString identifierPrefix, QString identifierSuffix, QWidget* parent)
    : QToolButton(parent), prefix_(std::move(identifierPrefix)), suffix_(std::move(identifierSuffix)) {
    PanelWidgets::makeTextButton(this, QStringLiteral("Preview"), QStringLiteral("play.rectangle.fill"));
    setObjectName(prefix_ + QStringLiteral("preview") + suffix_);
    connect(this, &QToolButton::clicked, this, &UGCVideoPreviewToggle::toggle);
    setVideoURL(std::nullopt);
}

void UGCVideoPreviewToggle::placePreviewIn(QBoxLayout* layout, int index) {
    host_ = layout;
    index_ = index;
}

void UGCVideoPreviewToggle::setVideoURL(const std::optional<QString>& url) {
    const std::optional<QString> present = url && !url->trimmed().isEmpty() ? url : std::nullopt;
    if (present != url_) close();
    url_ = present;
    setVisible(url_.has_value());
    refreshTitle();
}

void UGCVideoPreviewToggle::toggle() {
    if (preview_) return close();
    if (!url_ || !host_) return;
    preview_ = new UGCVideoPreview(prefix_, suffix_);
    host_->insertWidget(index_, preview_);
    preview_->show();  // a layout would show it only at the next turn of the event loop
    preview_->play(*url_);
    refreshTitle();
}

void UGCVideoPreviewToggle::close() {
    delete preview_;
    refreshTitle();
}

void UGCVideoPreviewToggle::refreshTitle() {
    const bool open = !preview_.isNull();
    PanelWidgets::setTitle(this, open ? QStringLiteral("Close preview") : QStringLiteral("Preview"));
    // At the size its row gave it: history rows have smaller icons.
    PanelWidgets::setSymbol(this, open ? QStringLiteral("xmark") : QStringLiteral("play.rectangle.fill"), iconSize().width(),
                            PanelWidgets::Colour::accent);
    setAccessibleDescription(open ? QStringLiteral("Stops the clip and removes it from the panel.")
                                  : QStringLiteral("Plays the video here, muted and looping."));
}

}  // namespace vexora

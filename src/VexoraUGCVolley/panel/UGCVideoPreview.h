#pragma once

#include <QPointer>
#include <QToolButton>
#include <optional>

class QBoxLayout;
class QLabel;

namespace vexora {

class VideoPreviewSurface;

// A clip played inside the panel: a 9:16 picture as wide as the panel, muted and looping at
// first, with play/pause and sound buttons under it. Hiding it (or the panel) pauses it. A clip
// that cannot play leaves a message in its place.
// Controls are named prefix + "preview-<part>" + suffix: "ugc.result.preview-mute",
// "ugc.history.preview-mute.gen-001".
class UGCVideoPreview : public QWidget {
    Q_OBJECT

public:
    UGCVideoPreview(const QString& identifierPrefix, const QString& identifierSuffix, QWidget* parent = nullptr);
    ~UGCVideoPreview() override;

    // Loads the media plugin on the first call of the process, then starts the clip.
    void play(const QString& url);
    // The player, once a clip is loading; null when there is none or the clip could not play.
    VideoPreviewSurface* surface() const { return surface_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showProblem(const QString& message, const QString& detail = {});
    void refreshControls();

    QWidget* picture_;
    QLabel* loading_;
    QLabel* message_;
    QWidget* controls_;
    QToolButton* playPause_;
    QToolButton* mute_;
    VideoPreviewSurface* surface_ = nullptr;
};

// "Preview" / "Close preview": opens a UGCVideoPreview of the video into a layout of its owner and
// closes it again. Shown only while there is a video; a different video closes an open preview.
class UGCVideoPreviewToggle : public QToolButton {
    Q_OBJECT

public:
    UGCVideoPreviewToggle(QString identifierPrefix, QString identifierSuffix, QWidget* parent = nullptr);

    // The preview opens as item `index` of `layout` (-1: at its end).
    void placePreviewIn(QBoxLayout* layout, int index);
    void setVideoURL(const std::optional<QString>& url);
    UGCVideoPreview* preview() const { return preview_; }

private:
    void toggle();
    void close();
    void refreshTitle();

    QString prefix_;
    QString suffix_;
    QBoxLayout* host_ = nullptr;
    int index_ = -1;
    std::optional<QString> url_;
    QPointer<UGCVideoPreview> preview_;
};

}  // namespace vexora

#pragma once

#include <QImage>
#include <QString>
#include <QUrl>
#include <QtPlugin>
#include <functional>

class QWidget;

namespace vexora {

// A player of one clip: the part of the preview that needs Qt Multimedia. It comes from a plugin
// loaded at the first Preview, so the app neither loads the media libraries nor starts a media
// backend before someone asks for a clip.
class VideoPreviewSurface {
public:
    // Reports arrive on the GUI thread; decoding runs on the backend's own threads.
    struct Listener {
        std::function<void()> changed;                // playing or paused, or a frame arrived
        std::function<void(const QString&)> failed;   // the clip cannot be played; the backend's reason
    };

    virtual ~VideoPreviewSurface() = default;

    // The widget that paints the current frame, fitted into its rectangle; owned by its parent.
    virtual QWidget* widget() = 0;
    // Starts loading `url` muted and looping; playback starts once enough has arrived.
    virtual void play(const QUrl& url) = 0;
    virtual void setPaused(bool paused) = 0;
    virtual bool isPlaying() const = 0;
    virtual void setMuted(bool muted) = 0;
    virtual bool isMuted() const = 0;
    // Frames that reached the video sink so far, and the latest one.
    virtual int framesShown() const = 0;
    virtual QImage currentFrame() const = 0;
};

class VideoPreviewBackend {
public:
    virtual ~VideoPreviewBackend() = default;
    virtual VideoPreviewSurface* createSurface(QWidget* parent, VideoPreviewSurface::Listener listener) = 0;
};

}  // namespace vexora

#define VexoraVideoPreviewBackend_iid "com.vexora.ugcvolley.VideoPreviewBackend/1"
Q_DECLARE_INTERFACE(vexora::VideoPreviewBackend, VexoraVideoPreviewBackend_iid)

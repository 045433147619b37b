// The preview's player on Qt Multimedia (GStreamer on Debian), built as a plugin of its own so
// that only a Preview loads it.

#include "preview/VideoPreviewBackend.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QPainter>
#include <QVideoFrame>
#include <QVideoSink>
#include <QWidget>

namespace vexora {

namespace {

class MultimediaSurface final : public QWidget, public VideoPreviewSurface {
public:
    MultimediaSurface(QWidget* parent, Listener listener) : QWidget(parent), listener_(std::move(listener)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        player_.setVideoSink(&sink_);
        player_.setLoops(QMediaPlayer::Infinite);
        // Without an audio output the backend leaves the sound undecoded; one comes with unmuting.
        connect(&sink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
            frame_ = frame;
            if (++frames_ == 1) listener_.changed();
            update();
        });
        connect(&player_, &QMediaPlayer::playbackStateChanged, this, [this] { listener_.changed(); });
        connect(&player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString& reason) {
            if (error != QMediaPlayer::NoError) fail(reason);
        });
        connect(&player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::InvalidMedia) fail(player_.errorString());
            // A file that ends before any picture came (sound only, or an empty movie).
            if (status == QMediaPlayer::EndOfMedia && frames_ == 0) fail(QStringLiteral("no picture"));
        });
    }

    // The player reports its last state changes while it is destroyed; nobody listens by then.
    ~MultimediaSurface() override {
        QObject::disconnect(&player_, nullptr, this, nullptr);
        QObject::disconnect(&sink_, nullptr, this, nullptr);
    }

    QWidget* widget() override { return this; }

    void play(const QUrl& url) override {
        failed_ = false;
        player_.setSource(url);
        player_.play();
    }

    void setPaused(bool paused) override {
        if (failed_) return;
        if (paused) player_.pause();
        else player_.play();
    }

    bool isPlaying() const override { return player_.playbackState() == QMediaPlayer::PlayingState; }

    void setMuted(bool muted) override {
        if (!muted && !audio_) {
            audio_ = new QAudioOutput(&player_);
            player_.setAudioOutput(audio_);
        }
        if (audio_) audio_->setMuted(muted);
        muted_ = muted;
        listener_.changed();
    }

    bool isMuted() const override { return muted_; }
    int framesShown() const override { return frames_; }
    QImage currentFrame() const override { return frame_.toImage(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QColor backdrop(0x14, 0x12, 0x1F);
        painter.fillRect(rect(), backdrop);
        if (frame_.isValid()) frame_.paint(&painter, QRectF(rect()), {backdrop, Qt::KeepAspectRatio, {}});
    }

private:
    void fail(const QString& reason) {
        if (failed_) return;
        failed_ = true;
        player_.stop();
        listener_.failed(reason);
    }

    Listener listener_;
    QVideoSink sink_;  // outlives the player that feeds it
    QMediaPlayer player_;
    QAudioOutput* audio_ = nullptr;  // the player's child
    QVideoFrame frame_;
    int frames_ = 0;
    bool muted_ = true;
    bool failed_ = false;
};

}  // namespace

class MultimediaPreviewBackend : public QObject, public VideoPreviewBackend {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VexoraVideoPreviewBackend_iid)
    Q_INTERFACES(vexora::VideoPreviewBackend)

public:
    VideoPreviewSurface* createSurface(QWidget* parent, VideoPreviewSurface::Listener listener) override {
        return new MultimediaSurface(parent, std::move(listener));
    }
};

}  // namespace vexora

#include "MultimediaPreview.moc"

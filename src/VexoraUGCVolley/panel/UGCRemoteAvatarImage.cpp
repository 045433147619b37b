#include "panel/UGCRemoteAvatarImage.h"

#include "cache/AvatarPlaceholder.h"
#include "cache/UGCAvatarImageCache.h"

#include <QPainter>
#include <QPainterPath>
#include <QPointer>

namespace vexora {

namespace {

QCoro::Task<void> fetchInto(QPointer<UGCRemoteAvatarImage> view, UGCAvatarImageCache* images, QString url,
                            std::function<void(std::optional<QImage>)> deliver) {
    std::optional<QImage> image = co_await images->image(url);
    if (view) deliver(std::move(image));
}

}  // namespace

UGCRemoteAvatarImage::UGCRemoteAvatarImage(UGCAvatarImageCache* images, int side, qreal cornerRadius, QWidget* parent)
    : QWidget(parent), images_(images), cornerRadius_(cornerRadius) {
    setFixedSize(side, side);
}

void UGCRemoteAvatarImage::setAvatarURL(const QString& avatarURL) {
    if (avatarURL_ == avatarURL) return;
    avatarURL_ = avatarURL;
    cachedImage_.reset();
    update();
    load();
}

void UGCRemoteAvatarImage::load() {
    const quint64 generation = ++generation_;
    if (!images_ || avatarURL_.isEmpty()) return;
    auto deliver = [this, generation](std::optional<QImage> image) {
        if (generation != generation_) return;
        cachedImage_ = std::move(image);
        update();
    };
    fetchInto(this, images_, avatarURL_, std::move(deliver));
}

void UGCRemoteAvatarImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF frame = rect();
    if (!cachedImage_) {
        const qreal ratio = devicePixelRatioF();
        QImage placeholder = avatarPlaceholderImage((frame.size() * ratio).toSize(), cornerRadius_ * ratio);
        placeholder.setDevicePixelRatio(ratio);
        painter.drawImage(frame, placeholder);
        return;
    }
    QPainterPath clip;
    clip.addRoundedRect(frame, cornerRadius_, cornerRadius_);
    painter.setClipPath(clip);
    // Fill the frame: scale to cover and crop the overflow evenly.
    const QSizeF covered = QSizeF(cachedImage_->size()).scaled(frame.size(), Qt::KeepAspectRatioByExpanding);
    const QRectF target(QPointF((frame.width() - covered.width()) / 2, (frame.height() - covered.height()) / 2), covered);
    painter.drawImage(target, *cachedImage_);
}

}  // namespace vexora

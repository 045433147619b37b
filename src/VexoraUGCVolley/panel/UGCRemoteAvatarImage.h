#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

namespace vexora {

class UGCAvatarImageCache;

// A face from the avatar cache, filling a rounded square; the placeholder gradient until the
// image arrives, and for good when it never does.
class UGCRemoteAvatarImage : public QWidget {
    Q_OBJECT

public:
    UGCRemoteAvatarImage(UGCAvatarImageCache* images, int side, qreal cornerRadius, QWidget* parent = nullptr);

    void setAvatarURL(const QString& avatarURL);
    QString avatarURL() const { return avatarURL_; }
    bool hasImage() const { return cachedImage_.has_value(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void load();

    UGCAvatarImageCache* images_;
    qreal cornerRadius_;
    QString avatarURL_;
    std::optional<QImage> cachedImage_;
    quint64 generation_ = 0;  // a late image for an earlier URL is dropped
};

}  // namespace vexora

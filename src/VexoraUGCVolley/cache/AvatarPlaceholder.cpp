#include "cache/AvatarPlaceholder.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace vexora {

QImage avatarPlaceholderImage(QSize size, qreal cornerRadius) {
    if (size.isEmpty()) return QImage();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    QPainterPath tile;
    tile.addRoundedRect(bounds, cornerRadius, cornerRadius);
    painter.setClipPath(tile);

    QLinearGradient gradient(bounds.topLeft(), bounds.bottomRight());
    gradient.setColorAt(0, QColor::fromRgbF(0.88f, 0.92f, 0.97f));
    gradient.setColorAt(1, QColor::fromRgbF(0.98f, 0.99f, 1.0f));
    painter.fillRect(bounds, gradient);

    // Small tiles still get a silhouette one can recognise.
    const qreal side = std::max<qreal>(22, 0.46 * std::min(size.width(), size.height()));
    const QRectF figure(bounds.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    const qreal head = side * 0.44;
    QPainterPath person;
    person.addEllipse(QRectF(figure.center().x() - head / 2, figure.top(), head, head));
    // Rounded on top, cut flat where the figure ends.
    QPainterPath shoulders, frame;
    shoulders.addRoundedRect(QRectF(figure.left() + side * 0.08, figure.top() + side * 0.52, side * 0.84, side * 0.6),
                             side * 0.3, side * 0.3);
    frame.addRect(figure);
    person.addPath(shoulders.intersected(frame));
    painter.fillPath(person, QColor::fromRgbF(0.34f, 0.40f, 0.48f));
    return image;
}

}  // namespace vexora

#include "shell/TrayIconArt.h"

#include "ui/RenderedIconEngine.h"

#include <QPainter>
#include <QPainterPath>

namespace vexora::TrayIconArt {

namespace {

const QColor idleBadge(0x26, 0x23, 0x2f);
const QColor idleRim(255, 255, 255, 150);
const QColor tintRim(0, 0, 0, 140);  // a tint alone is too light for a light panel
const QColor markColour(Qt::white);

void drawExclamation(QPainter& painter, QRectF badge) {
    const qreal w = badge.width();
    painter.setPen(Qt::NoPen);
    painter.setBrush(markColour);
    painter.drawRoundedRect(QRectF(badge.center().x() - w * 0.08, badge.top() + w * 0.18, w * 0.16, w * 0.42), w * 0.08, w * 0.08);
    painter.drawEllipse(QRectF(badge.center().x() - w * 0.09, badge.top() + w * 0.66, w * 0.18, w * 0.18));
}

void drawMark(QPainter& painter, QRectF badge, const MarkRenderer& render) {
    const int side = qRound(badge.width() * 0.82);
    QImage mark = render(QSize(side, side)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter recolour(&mark);
        recolour.setCompositionMode(QPainter::CompositionMode_SourceIn);
        recolour.fillRect(mark.rect(), markColour);
    }
    painter.drawImage(QPointF(badge.center().x() - side / 2.0, badge.center().y() - side / 2.0 + badge.height() * 0.03), mark);
}

}  // namespace

QImage image(const StatusIconLook& look, QSize size, const MarkRenderer& mark) {
    QImage art(size, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    if (size.isEmpty()) return art;
    QPainter painter(&art);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(size.width(), size.height());
    const QRectF badge(QPointF((size.width() - side) / 2, (size.height() - side) / 2), QSizeF(side, side));
    const qreal radius = side * 0.24;
    painter.setPen(QPen(look.tint ? tintRim : idleRim, std::max(1.0, side / 22.0)));
    painter.setBrush(look.tint.value_or(idleBadge));
    const qreal inset = painter.pen().widthF() / 2;
    painter.drawRoundedRect(badge.adjusted(inset, inset, -inset, -inset), radius, radius);
    if (look.isError) drawExclamation(painter, badge);
    else drawMark(painter, badge, mark);
    return art;
}

QIcon icon(const StatusIconLook& look, const MarkRenderer& mark, const QString& themeName) {
    return renderedIcon([look, mark](QSize size) { return image(look, size, mark); }, {16, 22, 24, 32, 48, 64},
                        look.tint ? QString() : themeName);
}

}  // namespace vexora::TrayIconArt

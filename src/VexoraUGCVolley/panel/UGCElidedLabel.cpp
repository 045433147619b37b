#include "panel/UGCElidedLabel.h"

#include <QPainter>

namespace vexora {

UGCElidedLabel::UGCElidedLabel(const QString& text, const QString& role, QWidget* parent) : QLabel(parent) {
    setProperty("role", role);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setFullText(text);
}

void UGCElidedLabel::setFullText(const QString& text) {
    if (this->text() == text) return;
    setText(text);
    setToolTip(text);
}

// Any width will do: the text gives way instead of widening the row.
QSize UGCElidedLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

void UGCElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}

}  // namespace vexora

#include "panel/UGCSuggestionRow.h"

#include "ui/PanelWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace vexora {

UGCSuggestionRow::UGCSuggestionRow(const Suggestion& suggestion, QWidget* parent)
    : QAbstractButton(parent), suggestion_(suggestion), isKnowledge_(suggestion.source == QLatin1String("knowledge")) {
    using namespace PanelWidgets;
    identify(this, QStringLiteral("ugc.suggestion.row.") + suggestion.id(), QStringLiteral("Suggestion: ") + suggestion.topic);
    setCursor(Qt::PointingHandCursor);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 7, 10, 7);
    row->setSpacing(8);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* topic = label(suggestion.topic, QStringLiteral("body"));
    texts->addWidget(topic);
    const QString detail = suggestion.hook.value_or(suggestion.sourceSnippet.value_or(QString()));
    const QString source = isKnowledge_ ? QStringLiteral("Knowledge") : QStringLiteral("Gap");
    texts->addWidget(label(detail.isEmpty() ? source : source + QStringLiteral(" · ") + detail, QStringLiteral("secondary")));
    row->addLayout(texts, 1);
    check_ = symbolLabel(QStringLiteral("checkmark.circle.fill"), 16, {}, Colour::accent);
    check_->setVisible(false);
    row->addWidget(check_, 0, Qt::AlignTop);
    for (QLabel* child : findChildren<QLabel*>()) child->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void UGCSuggestionRow::setSelected(bool isSelected) {
    if (isSelected_ == isSelected) return;
    isSelected_ = isSelected;
    check_->setVisible(isSelected);
    update();
}

QSize UGCSuggestionRow::sizeHint() const { return layout()->sizeHint(); }

void UGCSuggestionRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = isSelected_ ? QColor(0xF0, 0xE9, 0xFE) : isKnowledge_ ? QColor(0xEC, 0xF6, 0xF1) : QColor(0xF7, 0xF7, 0xFA);
    const QColor stroke = isSelected_ ? PanelWidgets::Colour::accent : QColor(0xE6, 0xE6, 0xEE);
    painter.setPen(QPen(stroke, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

}  // namespace vexora

#include "panel/UGCInlineStatusCallout.h"

#include "ui/PanelWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

UGCInlineStatusCallout::UGCInlineStatusCallout(const QString& iconName, const QString& title, const QString& message,
                                               QWidget* parent)
    : QFrame(parent) {
    using namespace PanelWidgets;
    setProperty("role", QStringLiteral("callout-info"));
    setAccessibleName(title);
    setAccessibleDescription(message);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 10, 12, 10);
    row->setSpacing(10);
    row->addWidget(symbolLabel(iconName, 18, {}, Colour::accent), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(label(title, QStringLiteral("heading")));
    texts->addWidget(label(message, QStringLiteral("secondary")));
    row->addLayout(texts, 1);
}

}  // namespace vexora

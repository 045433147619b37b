#include "ui/CompactActionButton.h"

namespace vexora {

CompactActionButton::CompactActionButton(const QString& title, Prominence prominence, int height, QWidget* parent)
    : QPushButton(parent), prominence_(prominence) {
    setFixedHeight(height);
    setCursor(Qt::PointingHandCursor);
    setTitle(title);
}

void CompactActionButton::setTitle(const QString& title) {
    setText(title);
    setAccessibleName(title);
}

QString CompactActionButton::prominenceName() const {
    switch (prominence_) {
    case Prominence::primary: return QStringLiteral("primary");
    case Prominence::secondary: return QStringLiteral("secondary");
    case Prominence::danger: return QStringLiteral("danger");
    }
    return {};
}

}  // namespace vexora

#include "panel/UGCDisclosureHeader.h"

#include "ui/PanelWidgets.h"

namespace vexora {

UGCDisclosureHeader::UGCDisclosureHeader(const QString& title, const QString& accessibleDescription, const QString& role,
                                         QWidget* parent)
    : QPushButton(title, parent) {
    setProperty("role", role);
    setAccessibleName(title);
    setAccessibleDescription(accessibleDescription);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setExpanded(false);
}

void UGCDisclosureHeader::setExpanded(bool expanded) {
    PanelWidgets::setSymbol(this, expanded ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"), 12);
}

}  // namespace vexora

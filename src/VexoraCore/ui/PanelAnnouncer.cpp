#include "ui/PanelAnnouncer.h"

#include <QAccessible>
#include <QLabel>
#include <utility>

namespace vexora {

void PanelAnnouncer::announce(const QString& text) {
    pending_ = text;
    deliver();
}

void PanelAnnouncer::setLabel(QLabel* label) {
    label_ = label;
    deliver();
}

void PanelAnnouncer::deliver() {
    if (!label_ || !pending_) return;
    label_->setText(*std::exchange(pending_, std::nullopt));
    // Screen readers pick alerts up even when the panel does not have the focus.
    QAccessibleEvent alert(label_.data(), QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

}  // namespace vexora

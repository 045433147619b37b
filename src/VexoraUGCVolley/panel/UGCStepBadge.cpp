#include "panel/UGCStepBadge.h"

#include "panel/UGCStepTexts.h"
#include "ui/PanelWidgets.h"

namespace vexora {

UGCStepBadge::UGCStepBadge(QWidget* parent) : QLabel(parent) { setStep(UGCStep::idle); }

void UGCStepBadge::setStep(UGCStep step) {
    const QString title = UGCStepTexts::badgeTitle(step);
    if (text() == title && !property("role").isNull()) return;
    setText(title);
    setAccessibleName(QStringLiteral("Pipeline status ") + title);
    PanelWidgets::setRole(this, step == UGCStep::error ? QStringLiteral("pill-danger") : QStringLiteral("badge"));
}

}  // namespace vexora

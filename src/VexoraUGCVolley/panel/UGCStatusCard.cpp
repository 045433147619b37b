#include "panel/UGCStatusCard.h"

#include "panel/UGCErrorCallout.h"
#include "panel/UGCStepBadge.h"
#include "panel/UGCStepTexts.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

UGCStatusCard::UGCStatusCard(UGCAppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    using namespace PanelWidgets;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    auto* header = new QHBoxLayout;
    header->addWidget(label(QStringLiteral("Status"), QStringLiteral("caption")));
    header->addStretch();
    badge_ = new UGCStepBadge;
    badge_->setObjectName(QStringLiteral("ugc.status.badge"));
    header->addWidget(badge_);
    column->addLayout(header);
    error_ = new UGCErrorCallout(state_);
    column->addWidget(error_);
    line_ = label({}, QStringLiteral("body"));
    line_->setObjectName(QStringLiteral("ugc.status.line"));
    column->addWidget(line_);
}

void UGCStatusCard::refresh() {
    badge_->setStep(state_.step());
    error_->refresh();
    const std::optional<QString> line = UGCStepTexts::statusLine(state_.step());
    line_->setVisible(!error_->isVisibleTo(this) && line.has_value());
    if (line && line_->text() != *line) line_->setText(*line);
}

}  // namespace vexora

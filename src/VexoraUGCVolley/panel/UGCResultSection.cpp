#include "panel/UGCResultSection.h"

#include "panel/UGCResultCard.h"
#include "panel/UGCStatusCard.h"
#include "ui/PanelCard.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QVBoxLayout>

namespace vexora {

UGCResultSection::UGCResultSection(UGCPanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    status_ = new UGCStatusCard(context_.state);
    statusCard_ = new PanelCard(status_);
    PanelWidgets::identifySection(statusCard_, QStringLiteral("ugc.status.section"), QStringLiteral("Status"));
    result_ = new UGCResultCard(context_);
    resultCard_ = new PanelCard(result_);
    PanelWidgets::identifySection(resultCard_, QStringLiteral("ugc.result.section"), QStringLiteral("Result"));
    resultCard_->hide();
    column->addWidget(statusCard_);
    column->addWidget(resultCard_);
}

void UGCResultSection::refresh() {
    const UGCAppState& state = context_.state;
    const bool hasResult = state.script() || state.title() || state.videoURL() || !state.publishResults().isEmpty();
    statusCard_->setVisible(!hasResult);
    resultCard_->setVisible(hasResult);
    if (hasResult) result_->refresh();
    else status_->refresh();
}

}  // namespace vexora

#include "panel/UGCErrorCallout.h"

#include "ui/CompactActionButton.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

UGCErrorCallout::UGCErrorCallout(UGCAppState& state, QWidget* parent) : QFrame(parent), state_(state) {
    using namespace PanelWidgets;
    identify(this, QStringLiteral("ugc.error.callout"));
    QVBoxLayout* texts = nullptr;
    message_ = fillErrorCallout(this, QStringLiteral("Generation stopped"), QStringLiteral("ugc.error.message"), &texts);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    tryAgain_ = new CompactActionButton(QStringLiteral("Try again"), CompactActionButton::Prominence::primary, 28);
    tryAgain_->setObjectName(QStringLiteral("ugc.error.try-again"));
    connect(tryAgain_, &QPushButton::clicked, this, [this] { state_.generate(); });
    auto* reset = new CompactActionButton(QStringLiteral("Reset"), CompactActionButton::Prominence::secondary, 28);
    reset->setObjectName(QStringLiteral("ugc.error.reset"));
    connect(reset, &QPushButton::clicked, this, [this] { state_.resetPipeline(); });
    actions->addWidget(tryAgain_);
    actions->addWidget(reset);
    actions->addStretch();
    texts->addLayout(actions);
    refresh();
}

void UGCErrorCallout::refresh() {
    const bool shows = state_.step() == UGCStep::error && state_.errorMessage().has_value();
    setVisible(shows);
    if (!shows) return;
    if (message_->text() != *state_.errorMessage()) message_->setText(*state_.errorMessage());
    tryAgain_->setEnabled(state_.canGenerate());
}

}  // namespace vexora

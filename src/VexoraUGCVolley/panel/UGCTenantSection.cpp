#include "panel/UGCTenantSection.h"

#include "ui/ElidingLabel.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

UGCTenantSection::UGCTenantSection(UGCAppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    using namespace PanelWidgets;
    PanelWidgets::identifySection(this, QStringLiteral("ugc.tenant.section"), QStringLiteral("Workspace"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    name_ = new ElidingLabel;
    setRole(name_, QStringLiteral("heading"));
    name_->setObjectName(QStringLiteral("ugc.tenant.name"));
    credits_ = label({}, QStringLiteral("secondary"));
    credits_->setObjectName(QStringLiteral("ugc.tenant.credits"));
    texts->addWidget(name_);
    texts->addWidget(credits_);
    row->addLayout(texts);
    row->addStretch();

    // A busy bar (no range) is the desktop's small progress indicator.
    loading_ = new QProgressBar;
    loading_->setRange(0, 0);
    loading_->setTextVisible(false);
    loading_->setFixedSize(28, 6);
    identify(loading_, QStringLiteral("ugc.tenant.loading"), QStringLiteral("Loading workspace"));
    refresh_ = iconButton(QStringLiteral("arrow.clockwise"), QStringLiteral("Refresh workspace"),
                          QStringLiteral("Refresh workspace data"), 28);
    refresh_->setObjectName(QStringLiteral("ugc.tenant.refresh"));
    connect(refresh_, &QToolButton::clicked, this, [this] { state_.fetchContext(); });
    row->addWidget(loading_);
    row->addWidget(refresh_);
    refresh();
}

void UGCTenantSection::refresh() {
    const AuthState& auth = state_.authState();
    name_->setText(auth.tenantName.value_or(QStringLiteral("Workspace")));
    credits_->setText(QStringLiteral("%1 credits available").arg(auth.balanceCredits.value_or(0)));
    loading_->setVisible(state_.isContextLoading());
    refresh_->setVisible(!state_.isContextLoading());
}

}  // namespace vexora

#include "app/PanelPlaceholder.h"

#include "ui/BrandResources.h"
#include "workflow/UGCAppState.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

PanelPlaceholder::PanelPlaceholder(UGCAppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    auto* mark = new QLabel(this);
    mark->setPixmap(QPixmap::fromImage(BrandResources::brandSymbolImage(false, QSize(48, 48))));
    auto* title = new QLabel(QStringLiteral("Vexora UGC Volley"), this);
    title->setStyleSheet(QStringLiteral("font-size: 18px; font-weight: 600;"));
    workspace_ = new QLabel(this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusLabel"));
    status_->setWordWrap(true);
    for (QWidget* widget : {static_cast<QWidget*>(mark), static_cast<QWidget*>(title), static_cast<QWidget*>(workspace_),
                            static_cast<QWidget*>(status_)})
        layout->addWidget(widget, 0, Qt::AlignHCenter);
    layout->addStretch();
    connect(&state_, &UGCAppState::authStateChanged, this, &PanelPlaceholder::refresh);
    refresh();
}

void PanelPlaceholder::refresh() {
    const AuthState& auth = state_.authState();
    workspace_->setText(auth.tenantName ? QStringLiteral("Signed in to %1").arg(*auth.tenantName) : QStringLiteral("Not signed in"));
}

}  // namespace vexora

#include "panel/UGCHeaderSection.h"

#include "panel/UGCStepTexts.h"
#include "ui/BrandResources.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

UGCHeaderSection::UGCHeaderSection(UGCAppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    using namespace PanelWidgets;
    setObjectName(QStringLiteral("ugc.header.section"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 0, 0);
    row->setSpacing(10);

    auto* mark = new QLabel;
    mark->setFixedSize(22, 22);
    mark->setPixmap(BrandResources::pixmapAtRatio([](QSize size) { return BrandResources::brandSymbolImage(false, size); },
                                                  QSize(22, 22), devicePixelRatioF()));
    row->addWidget(mark);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(0);
    titles->addWidget(label(QStringLiteral("Vexora UGC Volley"), QStringLiteral("title")));
    subtitle_ = label({}, QStringLiteral("secondary"));
    subtitle_->setObjectName(QStringLiteral("ugc.header.subtitle"));
    titles->addWidget(subtitle_);
    row->addLayout(titles);
    row->addStretch();

    signOut_ = new QToolButton;
    signOut_->setText(QStringLiteral("Sign out"));
    identify(signOut_, QStringLiteral("ugc.header.sign-out"), QStringLiteral("Sign out"));
    signOut_->setCursor(Qt::PointingHandCursor);
    connect(signOut_, &QToolButton::clicked, this, [this] {
        state_.cancelTenantScopedWork();
        state_.signOut();
    });
    row->addWidget(signOut_);
    refresh();
}

void UGCHeaderSection::refresh() {
    subtitle_->setText(UGCStepTexts::headerSubtitle(state_.step()));
    // A session whose workspace failed to load can be left too.
    const AuthStatus status = state_.authState().status;
    signOut_->setVisible(status == AuthStatus::authenticated || status == AuthStatus::error);
}

}  // namespace vexora

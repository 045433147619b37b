#include "panel/UGCPanelView.h"

#include "config/UGCAppConfiguration.h"
#include "panel/UGCGeneratorSection.h"
#include "panel/UGCHeaderSection.h"
#include "panel/UGCHistorySection.h"
#include "panel/UGCResultSection.h"
#include "panel/UGCSchedulesSection.h"
#include "panel/UGCTenantSection.h"
#include "ui/AuthPanelView.h"
#include "ui/CompactActionButton.h"
#include "ui/PanelCard.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vexora {

namespace {

const QString authTitle = QStringLiteral("Sign in to Vexora");
const QString authSubtitle =
    QStringLiteral("Use the same Vexora account as Herald to create, publish, and schedule UGC shorts.");

}  // namespace

UGCPanelView::UGCPanelView(UGCPanelContext context, QWidget* parent) : QWidget(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("ugc.panel"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(PanelWidgets::styleSheet());
    UGCAppState& state = context_.state;

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 0);
    outer->setSpacing(10);
    header_ = new UGCHeaderSection(state);
    outer->addWidget(header_);

    scroll_ = new QScrollArea;
    scroll_->setObjectName(QStringLiteral("ugcPanelScroll"));
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Not a stop of its own for Tab (a nameless one for screen readers): focusing a control
    // scrolls it into view.
    scroll_->setFocusPolicy(Qt::NoFocus);
    column_ = new QWidget;
    column_->setObjectName(QStringLiteral("ugcPanelColumn"));
    auto* columnLayout = new QVBoxLayout(column_);
    columnLayout->setContentsMargins(0, 0, 0, 12);
    columnLayout->setSpacing(10);

    authPanel_ = new AuthPanelView(UGCAppConfiguration::core().apiBaseURL().host());
    authPanel_->emailEdited = [&state](const QString& text) { state.setSignInEmail(text); };
    authPanel_->passwordEdited = [&state](const QString& text) { state.setSignInPassword(text); };
    authPanel_->signIn = [&state] { state.signIn(); };
    authPanel_->startBrowserAuth = [&state](NativeAuthFlowMode mode, std::optional<NativeAuthProvider> provider) {
        state.startBrowserAuth(mode, provider);
    };
    authCard_ = new PanelCard(authPanel_);
    PanelWidgets::identifySection(authCard_, QStringLiteral("auth.panel"), authTitle);
    columnLayout->addWidget(authCard_);

    workspaceError_ = buildWorkspaceError();
    columnLayout->addWidget(workspaceError_);
    buildWorkspace();
    columnLayout->addWidget(workspace_);
    columnLayout->addStretch();
    scroll_->setWidget(column_);
    outer->addWidget(scroll_, 1);

    // For screen readers only: no room on screen, and outside the layout, which its showing and
    // hiding would resize. PanelAnnouncer shows it for each announcement.
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setFixedSize(0, 0);
    statusLabel_->hide();
    PanelWidgets::setAccessibleRole(statusLabel_, QAccessible::Notification);

    PanelWidgets::watchProperties(&state, this, [this] { refresh(); });
    refresh();
}

UGCPanelView::~UGCPanelView() = default;

void UGCPanelView::buildWorkspace() {
    workspace_ = new QWidget;
    workspace_->setObjectName(QStringLiteral("ugc.workspace"));
    auto* layout = new QVBoxLayout(workspace_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    tenant_ = new UGCTenantSection(context_.state);
    generator_ = new UGCGeneratorSection(context_);
    result_ = new UGCResultSection(context_);
    schedules_ = new UGCSchedulesSection(context_);
    history_ = new UGCHistorySection(context_, 0, 10);
    layout->addWidget(new PanelCard(tenant_));
    layout->addWidget(new PanelCard(generator_));
    layout->addWidget(result_);  // chooses its own card
    layout->addWidget(new PanelCard(schedules_));
    layout->addWidget(new PanelCard(history_));
}

// Signed in, but the workspace could not be loaded: why, and a way to try again (Sign out is in
// the header). The session is kept, so the sign-in form would only ask for it again.
QWidget* UGCPanelView::buildWorkspaceError() {
    using namespace PanelWidgets;
    auto* callout = new QFrame;
    identify(callout, QStringLiteral("ugc.workspace-error"));
    QVBoxLayout* texts = nullptr;
    workspaceErrorMessage_ =
        fillErrorCallout(callout, QStringLiteral("Workspace could not be loaded"), QStringLiteral("ugc.workspace-error.message"), &texts);
    auto* retry = new CompactActionButton(QStringLiteral("Try again"), CompactActionButton::Prominence::primary, 28);
    retry->setObjectName(QStringLiteral("ugc.workspace-error.retry"));
    UGCAppState& state = context_.state;
    connect(retry, &QPushButton::clicked, this, [&state] { state.refreshAuthenticatedContext(); });
    texts->addWidget(retry, 0, Qt::AlignLeft);
    return callout;
}

void UGCPanelView::refresh() {
    const AuthState& auth = context_.state.authState();
    const bool signedIn = auth.status == AuthStatus::authenticated;
    const bool workspaceFailed = auth.status == AuthStatus::error;
    header_->refresh();
    authCard_->setVisible(!signedIn && !workspaceFailed);
    workspaceError_->setVisible(workspaceFailed);
    workspace_->setVisible(signedIn);
    if (workspaceFailed) workspaceErrorMessage_->setText(auth.errorMessage.value_or(QString()));
    // Whoever gives the panel the focus gives it to the control a person uses first.
    QWidget* first = findChild<QWidget*>(signedIn          ? QStringLiteral("ugc.topic.editor")
                                         : workspaceFailed ? QStringLiteral("ugc.workspace-error.retry")
                                                           : QStringLiteral("auth.email"));
    if (focusProxy() != first) {
        setFocusProxy(first);
        // Signed in or out while open: the control that went away had the keyboard.
        if (isVisible()) setFocus(Qt::OtherFocusReason);
    }
    if (!signedIn) {
        refreshAuthPanel();
        return;
    }
    tenant_->refresh();
    generator_->refresh();
    result_->refresh();
    schedules_->refresh();
    history_->refresh();
}

void UGCPanelView::refreshAuthPanel() {
    const UGCAppState& state = context_.state;
    AuthPanelModel model;
    model.title = authTitle;
    model.subtitle = authSubtitle;
    model.email = state.signInEmail();
    model.password = state.signInPassword();
    model.isSigningIn = state.isSigningIn();
    model.isBrowserAuthInProgress = state.isBrowserAuthInProgress();
    model.browserAuthStatusMessage = state.browserAuthStatusMessage();
    model.errorMessage = state.authErrorMessage();
    authPanel_->setModel(model);
}

}  // namespace vexora

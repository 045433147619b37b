#include "ui/AuthPanelView.h"

#include "ui/BrandResources.h"
#include "ui/CompactActionButton.h"
#include "ui/PanelWidgets.h"
#include "ui/SymbolIcon.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vexora {

namespace {

// The mark image of each provider in the AuthProviders folder; Apple has a button of its own.
QString markName(NativeAuthProvider provider) {
    switch (provider) {
    case NativeAuthProvider::google: return QStringLiteral("google-mark");
    case NativeAuthProvider::github: return QStringLiteral("github-mark");
    case NativeAuthProvider::linkedinOIDC: return QStringLiteral("linkedin-mark");
    case NativeAuthProvider::facebook: return QStringLiteral("facebook-mark");
    case NativeAuthProvider::apple: break;
    }
    return {};
}

// Only the text the user typed differs from the model; rewriting it would move the cursor. The
// model's text going in is no edit.
void syncText(QLineEdit* field, const QString& text) {
    if (field->text() == text) return;
    const QSignalBlocker quiet(field);
    field->setText(text);
}

void showOptionalText(QLabel* label, const std::optional<QString>& text) {
    label->setText(text.value_or(QString()));
    label->setVisible(text.has_value() && !text->isEmpty());
}

}  // namespace

AuthPanelView::AuthPanelView(const QString& webHost, QWidget* parent) : QWidget(parent) {
    using namespace PanelWidgets;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    title_ = label({}, QStringLiteral("title"));
    subtitle_ = label({}, QStringLiteral("secondary"));
    column->addWidget(title_);
    column->addWidget(subtitle_);

    email_ = new QLineEdit;
    email_->setPlaceholderText(QStringLiteral("Email"));
    email_->setInputMethodHints(Qt::ImhEmailCharactersOnly | Qt::ImhNoAutoUppercase);
    identify(email_, QStringLiteral("auth.email"), QStringLiteral("Email"));
    password_ = new QLineEdit;
    password_->setPlaceholderText(QStringLiteral("Password"));
    password_->setEchoMode(QLineEdit::Password);
    identify(password_, QStringLiteral("auth.password"), QStringLiteral("Password"));
    column->addWidget(email_);
    column->addWidget(password_);
    // textChanged, not textEdited: text set by assistive technology (AT-SPI's EditableText) comes
    // through setText.
    connect(email_, &QLineEdit::textChanged, this, [this](const QString& text) { if (emailEdited) emailEdited(text); });
    connect(password_, &QLineEdit::textChanged, this, [this](const QString& text) { if (passwordEdited) passwordEdited(text); });

    browserStatus_ = label({}, QStringLiteral("secondary"));
    browserStatus_->setObjectName(QStringLiteral("auth.browser-status"));
    error_ = label({}, QStringLiteral("error"));
    error_->setObjectName(QStringLiteral("auth.error"));
    column->addWidget(browserStatus_);
    column->addWidget(error_);

    signInButton_ = new CompactActionButton({}, CompactActionButton::Prominence::primary, 36);
    signInButton_->setObjectName(QStringLiteral("auth.signin"));
    connect(signInButton_, &QPushButton::clicked, this, [this] { if (signIn) signIn(); });
    connect(password_, &QLineEdit::returnPressed, signInButton_, &QPushButton::click);
    column->addWidget(signInButton_);
    actionButtons_.append(signInButton_);

    auto* secondary = new QHBoxLayout;
    secondary->setSpacing(8);
    auto* createAccount = new CompactActionButton(QStringLiteral("Create account"), CompactActionButton::Prominence::secondary, 32);
    createAccount->setObjectName(QStringLiteral("auth.create-account"));
    connect(createAccount, &QPushButton::clicked, this, [this] { requestBrowserAuth(NativeAuthFlowMode::signup, std::nullopt); });
    auto* webSignIn = new CompactActionButton(QStringLiteral("Sign in on ") + webHost, CompactActionButton::Prominence::secondary, 32);
    webSignIn->setObjectName(QStringLiteral("auth.web-signin"));
    connect(webSignIn, &QPushButton::clicked, this, [this] { requestBrowserAuth(NativeAuthFlowMode::signin, std::nullopt); });
    secondary->addWidget(createAccount, 1);
    secondary->addWidget(webSignIn, 1);
    column->addLayout(secondary);
    actionButtons_.append({createAccount, webSignIn});

    column->addWidget(providerButton(NativeAuthProvider::apple));
    auto* grid = new QGridLayout;
    grid->setSpacing(8);
    const NativeAuthProvider others[] = {NativeAuthProvider::google, NativeAuthProvider::github,
                                         NativeAuthProvider::linkedinOIDC, NativeAuthProvider::facebook};
    for (int index = 0; index < 4; ++index) grid->addWidget(providerButton(others[index]), index / 2, index % 2);
    column->addLayout(grid);
}

QPushButton* AuthPanelView::providerButton(NativeAuthProvider provider) {
    const QString name = info(provider).title;
    const bool isApple = provider == NativeAuthProvider::apple;
    auto* button = new CompactActionButton(isApple ? QStringLiteral("Sign in with Apple") : name,
                                           CompactActionButton::Prominence::secondary, 44);
    button->setObjectName(QStringLiteral("auth.provider.") + info(provider).id);
    const QSize markSize(18, 18);
    if (isApple) {
        button->setIcon(SymbolIcon::icon(QStringLiteral("apple.logo"), PanelWidgets::Colour::text));
    } else if (auto mark = BrandResources::providerImage(markName(provider), false, markSize * 2)) {
        button->setIcon(QIcon(QPixmap::fromImage(*mark)));
    }
    button->setIconSize(markSize);
    connect(button, &QPushButton::clicked, this, [this, provider] { requestBrowserAuth(NativeAuthFlowMode::signin, provider); });
    actionButtons_.append(button);
    return button;
}

void AuthPanelView::requestBrowserAuth(NativeAuthFlowMode mode, std::optional<NativeAuthProvider> provider) {
    if (startBrowserAuth) startBrowserAuth(mode, provider);
}

void AuthPanelView::setModel(const AuthPanelModel& model) {
    title_->setText(model.title);
    subtitle_->setText(model.subtitle);
    syncText(email_, model.email);
    syncText(password_, model.password);
    showOptionalText(browserStatus_, model.browserAuthStatusMessage);
    showOptionalText(error_, model.errorMessage);
    signInButton_->setTitle(model.isSigningIn ? QStringLiteral("Signing in...") : QStringLiteral("Sign in to Vexora"));
    const bool busy = model.isSigningIn || model.isBrowserAuthInProgress;
    for (QPushButton* button : actionButtons_) button->setEnabled(!busy);
}

}  // namespace vexora

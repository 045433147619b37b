#pragma once

#include "auth/AuthRecords.h"

#include <QWidget>
#include <functional>
#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vexora {

class CompactActionButton;

// What the sign-in panel shows; everything but the two text fields comes from its owner.
struct AuthPanelModel {
    QString title;
    QString subtitle;
    QString email;
    QString password;
    bool isSigningIn = false;
    bool isBrowserAuthInProgress = false;
    std::optional<QString> browserAuthStatusMessage;
    std::optional<QString> errorMessage;

    bool operator==(const AuthPanelModel&) const = default;
};

// Password sign-in, and browser sign-in plain or through one of the five providers. Every action
// is a callback; the panel knows nothing of what runs behind it.
class AuthPanelView : public QWidget {
    Q_OBJECT

public:
    // `webHost` is shown in the "Sign in on " button.
    explicit AuthPanelView(const QString& webHost, QWidget* parent = nullptr);

    void setModel(const AuthPanelModel& model);

    std::function<void(const QString&)> emailEdited;
    std::function<void(const QString&)> passwordEdited;
    std::function<void()> signIn;
    std::function<void(NativeAuthFlowMode, std::optional<NativeAuthProvider>)> startBrowserAuth;

private:
    QPushButton* providerButton(NativeAuthProvider provider);
    void requestBrowserAuth(NativeAuthFlowMode mode, std::optional<NativeAuthProvider> provider);

    QLabel* title_;
    QLabel* subtitle_;
    QLineEdit* email_;
    QLineEdit* password_;
    QLabel* browserStatus_;
    QLabel* error_;
    CompactActionButton* signInButton_;
    QList<QPushButton*> actionButtons_;
};

}  // namespace vexora

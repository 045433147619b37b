// Signing in and out.
#include "workflow/UGCAppState.h"

#include "config/UGCAppConfiguration.h"
#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"

#include <QDateTime>

namespace vexora {

namespace {

const QString notCompletedText = QStringLiteral("Browser sign-in was not completed. Start again when you're ready.");
const QString pausedText = QStringLiteral("Browser sign-in was paused. Start again when you're ready.");
const QString pollPausedText =
    QStringLiteral("Browser sign-in was paused. If you closed the Apple prompt, start again when you're ready.");

std::optional<int> serviceStatus(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const APIClientError& service) {
        return service.statusCode();
    } catch (...) {
    }
    return std::nullopt;
}

// Only web pages are handed to the browser: a file: or custom-scheme URL from the service is refused.
std::optional<QUrl> browsablePage(const QString& text) {
    if (!validatedRemoteURLString(text)) return std::nullopt;
    return QUrl(text, QUrl::StrictMode);
}

}  // namespace

void UGCAppState::signIn() {
    browserAuthTask_.abandon();
    if (signInEmail_.isEmpty() || signInPassword_.isEmpty()) {
        setAuthErrorMessage(QStringLiteral("Enter both email and password."));
        return;
    }
    setIsSigningIn(true);
    setIsBrowserAuthInProgress(false);
    setAuthErrorMessage(std::nullopt);
    updateAuthState([](AuthState& state) { state.status = AuthStatus::authenticating; });
    runPasswordSignIn(this, signInEmail_, signInPassword_);
}

QCoro::Task<void> UGCAppState::runPasswordSignIn(QPointer<UGCAppState> self, QString email, QString password) {
    std::exception_ptr failure;
    try {
        const UserSession session = co_await self->authManager_->signIn(email, password);
        if (!self) co_return;
        co_await self->applyAuthenticatedSession(session);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (failure) {
        self->setAuthState(AuthState::unauthenticated);
        self->setAuthErrorMessage(errorText(failure));
    }
    self->setIsSigningIn(false);
    self->notifyPreferredPanelSizeDidChange();
}

QCoro::Task<void> UGCAppState::applyAuthenticatedSession(UserSession session) {
    ++sessionGeneration_;
    sessionVault_.replace(session);
    setAuthErrorMessage(std::nullopt);  // an old session's expiry is no news once a new one is in
    updateAuthState([&](AuthState& state) {
        state.session = session;
        state.status = AuthStatus::authenticated;
    });
    setSignInPassword(QString());
    setIsBrowserAuthInProgress(false);
    setBrowserAuthStatusMessage(std::nullopt);
    co_await refreshAuthenticatedContext();
}

QCoro::Task<void> UGCAppState::refreshAuthenticatedContext() {
    if (!authState_.session) {
        setAuthState(AuthState::unauthenticated);
        co_return;
    }
    QPointer<UGCAppState> self(this);
    const quint64 generation = sessionGeneration_;
    std::optional<AuthenticatedContext> context;
    std::exception_ptr failure;
    try {
        context = co_await apiClient_->fetchAuthenticatedContext();
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self || sessionGeneration_ != generation) co_return;
    if (context) {
        if (authState_.tenantID && authState_.tenantID != context->tenantID) {
            // Another workspace now: nothing of the old one stays, and clearing it writes into no record.
            cancelTenantScopedWork();
            updateAuthState([](AuthState& state) { state.tenantID.reset(); });
            clearTenantState();
        }
        updateAuthState([&](AuthState& state) {
            state.status = AuthStatus::authenticated;
            state.tenantID = context->tenantID;
            state.tenantName = context->tenantName;
            state.balanceCredits = context->balanceCredits;
            state.planType = context->planType;
            state.lastCheckedAt = QDateTime::fromMSecsSinceEpoch(qint64(clock_->now() * 1000));
            state.errorMessage = std::nullopt;
        });
        fetchContext();
    } else if (serviceStatus(failure) == 401) {
        signOut();
        setAuthErrorMessage(QStringLiteral("Session expired. Please sign in again."));
    } else if (!isCancellationLike(failure)) {
        updateAuthState([&](AuthState& state) {
            state.status = AuthStatus::error;
            state.errorMessage = errorText(failure);
        });
    }
}

void UGCAppState::startBrowserAuth(NativeAuthFlowMode mode, std::optional<NativeAuthProvider> provider) {
    auto [flowID, stop] = browserAuthTask_.begin();
    setIsBrowserAuthInProgress(true);
    setIsSigningIn(false);
    setAuthErrorMessage(std::nullopt);
    if (provider) setBrowserAuthStatusMessage(info(*provider).helperCopy());
    else if (mode == NativeAuthFlowMode::signin)
        setBrowserAuthStatusMessage(QStringLiteral("Finish signing in through your browser and we'll connect automatically."));
    else setBrowserAuthStatusMessage(QStringLiteral("Create your account in your browser, then come right back."));
    updateAuthState([](AuthState& state) { state.status = AuthStatus::authenticating; });
    notifyPreferredPanelSizeDidChange();
    runBrowserAuth(this, mode, provider, flowID, stop);
}

QCoro::Task<void> UGCAppState::runBrowserAuth(QPointer<UGCAppState> self, NativeAuthFlowMode mode,
                                              std::optional<NativeAuthProvider> provider, QUuid flowID, std::stop_token stop) {
    const CoreAppConfiguration& core = UGCAppConfiguration::core();
    UGCClock& clock = *self->clock_;
    AuthManager& auth = *self->authManager_;
    std::optional<UserSession> session;
    std::exception_ptr failure;
    bool pollRefused = false;  // a 429 on a poll has a text of its own
    try {
        const NativeBrowserAuthStartResponse started = co_await auth.startBrowserAuth(mode, provider, stop);
        const std::optional<QUrl> page = browsablePage(started.authUrl);
        if (!page) throw APIClientError::invalidResponse();
        if (!self) co_return;
        self->browserURLOpener_(*page);
        const double deadline = clock.now() + core.nativeAuthTimeoutSeconds;
        while (!session) {
            if (clock.now() >= deadline)
                throw APIClientError::http(408, QStringLiteral("Browser sign in timed out. Please try again."));
            if (stop.stop_requested()) throw CancellationError();
            NativeBrowserAuthPollResponse poll;
            try {
                poll = co_await auth.pollBrowserAuth(started.sessionId, started.pollToken, stop);
            } catch (const APIClientError& error) {
                pollRefused = error.statusCode() == 429;
                throw;
            }
            if (!self) co_return;
            if (poll.status == QLatin1String("complete") && poll.session && poll.user) {
                session = makeUserSession(*poll.user, *poll.session);
                co_await auth.save(*session);
                if (!self) co_return;
            } else if (poll.status == QLatin1String("expired")) {
                throw APIClientError::http(401, QStringLiteral("Browser sign in expired. Please start again."));
            } else {
                co_await clock.sleep(std::chrono::milliseconds(core.nativeAuthPollIntervalNanoseconds / 1'000'000), stop);
                if (!self) co_return;
            }
        }
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (!failure) {
        if (self->browserAuthTask_.isCurrent(flowID)) co_await self->applyAuthenticatedSession(*session);
        if (self && self->browserAuthTask_.isCurrent(flowID)) {
            self->browserAuthTask_.finish();
        }
        co_return;
    }
    const std::optional<int> status = serviceStatus(failure);
    if (pollRefused) self->finishBrowserAuthFlow(flowID, pollPausedText, std::nullopt);
    else if (isCancellationLike(failure)) self->finishBrowserAuthFlow(flowID, std::nullopt, std::nullopt);
    else if (status == 408 || status == 401) self->finishBrowserAuthFlow(flowID, notCompletedText, std::nullopt);
    else if (status == 429) self->finishBrowserAuthFlow(flowID, pausedText, std::nullopt);
    else self->finishBrowserAuthFlow(flowID, std::nullopt, errorText(failure));
}

void UGCAppState::finishBrowserAuthFlow(const QUuid& flowID, OptionalString statusMessage, OptionalString errorMessage) {
    if (!browserAuthTask_.isCurrent(flowID)) return;
    setAuthState(AuthState::unauthenticated);
    setAuthErrorMessage(errorMessage);
    setIsBrowserAuthInProgress(false);
    setBrowserAuthStatusMessage(statusMessage);
    browserAuthTask_.finish();
    notifyPreferredPanelSizeDidChange();
}

void UGCAppState::signOut() {
    ++sessionGeneration_;
    cancelTenantScopedWork();
    runSignOut(this);
}

QCoro::Task<void> UGCAppState::runSignOut(QPointer<UGCAppState> self) {
    const quint64 generation = self->sessionGeneration_;
    co_await self->authManager_->signOut();
    if (!self) co_return;
    // A sign-in that landed while the old session was being removed is not undone, and what it
    // stored, which the removal may have taken with it, is stored again.
    if (self->sessionGeneration_ != generation) {
        if (const auto current = self->sessionVault_.storedSession()) co_await self->authManager_->save(*current);
        co_return;
    }
    self->sessionVault_.clear();
    self->setAuthState(AuthState::unauthenticated);
    self->clearTenantState();
    self->notifyPreferredPanelSizeDidChange();
}

}  // namespace vexora

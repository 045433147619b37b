#include "CliSession.h"

#include "CliOutput.h"
#include "foundation/NetworkCall.h"
#include "workflow/UGCWorkspacePreferencesStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cstdio>

namespace vexora::cli {

CliSession::CliSession(UGCRuntimeConfiguration runtime) {
    // The browser page is the user's to open; a terminal may have no browser at all.
    auto printPage = [](const QUrl& page) {
        std::fprintf(stderr, "Open this page to sign in: %s\n", qPrintable(page.toString()));
    };
    state_ = std::make_unique<UGCAppState>(runtime, network_, printPage);
}

// A command may end while the workflow still fetches something it did not need (the avatar
// library after a sign-in, say): those requests are ended before the process exits.
CliSession::~CliSession() {
    state_.reset();
    finishPendingReplies(network_);
}

void CliSession::start() {
    state_->bootstrap();
    waitUntil([this] { return !state_->isBootstrapping(); }, 60);
    if (isSignedIn()) waitUntil([this] { return contextLoaded(); }, 120);
}

bool CliSession::contextLoaded() const {
    return !state_->isContextLoading() && state_->step() != UGCStep::loadingContext;
}

bool CliSession::waitUntil(const std::function<bool()>& done, int guardSeconds) {
    QDeadlineTimer guard(std::chrono::seconds{guardSeconds});
    while (!done()) {
        if (guard.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

std::unique_ptr<CliSession> signedInSession(const CliArguments& arguments, int& exitCode, UGCRuntimeConfiguration runtime) {
    auto session = std::make_unique<CliSession>(runtime);
    session->start();
    if (session->isSignedIn()) return session;
    exitCode = fail(arguments, QStringLiteral("Not signed in. Run vexora-ugc signin first."));
    return nullptr;
}

}  // namespace vexora::cli

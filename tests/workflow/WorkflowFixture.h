#pragma once

#include "foundation/AsyncEvent.h"
#include "foundation/NetworkCall.h"
#include "support/DevServer.h"
#include "support/ScopedEnvironment.h"
#include "workflow/UGCAppState.h"
#include "workflow/UGCWorkspacePreferencesStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vexora::test {

// Virtual time: a sleep moves the clock at once and only yields to the event loop.
class InstantClock : public UGCClock {
public:
    double now() const override { return now_; }
    void advance(double seconds) { now_ += seconds; }
    QCoro::Task<void> sleep(std::chrono::milliseconds duration, std::stop_token stop) override {
        now_ += double(duration.count()) / 1000.0;
        return sleepFor(std::chrono::milliseconds(0), std::move(stop));
    }

private:
    double now_ = 1'800'000'000;
};

// UGCAppState wired to a devserver, as the application wires it.
class WorkflowFixture : public ::testing::Test {
protected:
    DevServer server;
    ScopedEnvironment baseURL{"VEXORA_API_BASE_URL", server.baseURL().toUtf8()};
    QNetworkAccessManager network;
    std::vector<QUrl> openedPages;
    std::vector<QString> announcements;
    std::vector<QSizeF> panelSizes;
    QTemporaryDir scratch;
    std::unique_ptr<UGCAppState> state;

    // Requests the test left running end here, not in a suspended frame at exit.
    void TearDown() override {
        state.reset();
        finishPendingReplies(network);
    }

    void SetUp() override {
        if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") || qEnvironmentVariableIsSet("VEXORA_TEST_BUS_WITHOUT_KEYRING"))
            GTEST_SKIP() << "needs the private keyring session of ./dev test";
        makeState(UGCRuntimeConfiguration{});
    }

    void makeState(UGCRuntimeConfiguration runtime) {
        state = std::make_unique<UGCAppState>(runtime, network, [this](const QUrl& page) { openedPages.push_back(page); },
                                              std::make_unique<InstantClock>(), makeStore());
        state->onErrorAnnouncementRequested = [this](const QString& text) { announcements.push_back(text); };
        state->onPreferredPanelSizeChange = [this](QSizeF size) { panelSizes.push_back(size); };
        runSyncVoid(state->authManager().signOut());
    }

    // The settings file of this test; a second store on it sees what the first one wrote.
    std::unique_ptr<UGCWorkspacePreferencesStore> makeStore() {
        return std::make_unique<UGCWorkspacePreferencesStore>(
            std::make_unique<QSettings>(scratch.filePath("settings.ini"), QSettings::IniFormat));
    }

    static void runSyncVoid(QCoro::Task<void> task);

    // Spins the event loop until `done` holds; a guard against hangs, not a measurement.
    bool waitUntil(const std::function<bool()>& done, int guardMilliseconds = 15000) {
        QElapsedTimer guard;
        guard.start();
        while (!done()) {
            if (guard.elapsed() > guardMilliseconds) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
        }
        return true;
    }

    // Lets the event loop and the server run for a while, for checks that something does not happen.
    void spin(int milliseconds) { waitUntil([] { return false; }, milliseconds); }

    bool contextLoaded() {
        return state->authState().tenantID && !state->isContextLoading() && state->step() != UGCStep::loadingContext;
    }

    void signInDemo() {
        state->setSignInEmail(QStringLiteral("demo@vexora.local"));
        state->setSignInPassword(QStringLiteral("demo"));
        state->signIn();
        ASSERT_TRUE(waitUntil([this] { return !state->isSigningIn() && contextLoaded(); }));
        server.clearLog();
    }

    std::vector<LoggedRequest> requests(const std::string& method, const std::string& pathPrefix) {
        std::vector<LoggedRequest> matching;
        for (const LoggedRequest& logged : server.requests(pathPrefix))
            if (logged.method == method) matching.push_back(logged);
        return matching;
    }

    Json onlyBody(const std::string& path, const std::string& method = "POST") {
        const auto logged = requests(method, path);
        EXPECT_EQ(logged.size(), 1u) << path;
        return logged.empty() ? Json() : Json::parse(logged.back().body);
    }
};

}  // namespace vexora::test

// The tray app's resident set with its panel open: signed out and idle, then after the context
// load of a large workspace whose library faces are all decoded in the avatar cache.
#include "Benchmarks.h"
#include "TrayAppBench.h"
#include "support/DevServer.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <stdexcept>

namespace vexora::bench {

using namespace vexora::test;

namespace {

constexpr int historyEntries = 500;
constexpr int libraryAvatars = 200;

double residentMebibytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read the tray app's memory");
    static const QRegularExpression resident(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
    const QRegularExpressionMatch match = resident.match(QString::fromLatin1(status.readAll()));
    if (!match.hasMatch()) throw std::runtime_error("no VmRSS for the tray app");
    return match.captured(1).toDouble() / 1024;
}

std::unique_ptr<AppDriver> launch(const QProcessEnvironment& environment, const QString& home) {
    auto app = std::make_unique<AppDriver>(environment);
    if (!app->start(home + "/automation") || !waitForPanel(*app)) throw std::runtime_error("the tray app did not start");
    return app;
}

}  // namespace

std::vector<BenchRow> memoryRows() {
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) throw std::runtime_error("needs ./dev's private keyring session");
    DevServer server;
    server.configure({{"history_count", historyEntries}, {"avatar_count", libraryAvatars}});
    VirtualDisplay display;
    if (display.name().isEmpty()) throw std::runtime_error("Xvfb did not start");
    QTemporaryDir home;
    QProcessEnvironment environment = trayAppEnvironment(display.name(), server.baseURL(), home.path());
    environment.insert("VEXORA_DEBUG_SHOW_PANEL_ON_LAUNCH", "1");

    std::unique_ptr<AppDriver> app = launch(environment, home.path());
    if (isSignedIn(*app)) {
        // A session left in the keyring: sign out, and start again without its workspace in memory.
        (void)app->click("ugc.header.sign-out");
        if (!app->waitShown("auth.email")) throw std::runtime_error("the tray app did not sign out");
        app->quit();
        app = launch(environment, home.path());
    }
    settle();
    const double signedOut = residentMebibytes(app->processId());

    if (!app->signInDemo()) throw std::runtime_error("the tray app did not sign in");
    if (!loadWholeLibrary(*app, libraryAvatars, historyEntries) || !waitForFaces(*app))
        throw std::runtime_error("the library did not load");
    settle();
    const double loaded = residentMebibytes(app->processId());
    app->quit();
    return {{"resident set, signed out and idle", mebibytes(signedOut), "", "VmRSS, panel open, Xvfb"},
            {"resident set, 500 history entries, 200 faces decoded", mebibytes(loaded), mebibytes(signedOut),
             times(loaded / signedOut) + " of signed out"}};
}

}  // namespace vexora::bench

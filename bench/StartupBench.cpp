// Start-up of the tray app as at login, signed in with a warm cache, from process start until its
// tray icon is shown and the event loop has gone idle, next to a minimal Qt Widgets program showing
// one window, both on the same desktop: Xvfb, openbox and xfce4-panel as the StatusNotifier host.
#include "Benchmarks.h"
#include "ReadyLaunch.h"
#include "TrayAppBench.h"
#include "support/DevServer.h"
#include "support/LinuxDesktop.h"

#include <QProcess>
#include <stdexcept>

namespace vexora::bench {

using namespace vexora::test;

namespace {

constexpr int launches = 21;

// A first launch signs in and fills the avatar cache, as a user's earlier session would have.
void warmUp(const QProcessEnvironment& environment, const QString& home) {
    QProcessEnvironment first = environment;
    first.insert("VEXORA_DEBUG_SHOW_PANEL_ON_LAUNCH", "1");
    AppDriver app(first);
    if (!app.start(home + "/automation")) throw std::runtime_error("the tray app did not start");
    if (!app.signInDemo() || !waitForFaces(app)) throw std::runtime_error("the first launch did not load the workspace");
    app.quit();
}

// The app runs in the tray, not as a window: its icon registers with the panel's host.
void checkTheIconRegisters(LinuxDesktop& desktop, const QProcessEnvironment& environment) {
    QProcess app;
    app.setProcessEnvironment(environment);
    app.setStandardOutputFile(QProcess::nullDevice());
    app.start(QStringLiteral(VEXORA_APP_PATH), {"--autostart"});
    const bool registered = LinuxDesktop::waitUntil([&] { return desktop.statusNotifierItems().size() == 1; }, 10000);
    app.kill();
    app.waitForFinished(5000);
    if (!registered) throw std::runtime_error("the tray icon did not register with xfce4-panel");
}

}  // namespace

std::vector<BenchRow> startupRows() {
    DevServer server;
    LinuxDesktop desktop({TrayHost::xfcePanel, Edge::top, true});
    if (auto started = desktop.start(); !started) throw std::runtime_error(std::string("no desktop: ") + started.message());
    QProcessEnvironment environment = desktop.environment();
    environment.insert("VEXORA_API_BASE_URL", server.baseURL());
    environment.insert("VEXORA_APPCAST_URL", server.baseURL() + "/appcast.xml");
    warmUp(environment, desktop.home());
    checkTheIconRegisters(desktop, environment);

    environment.insert("VEXORA_DEBUG_REPORT_READY", "1");
    std::vector<double> app, reference, qtTray;
    // Taken in turns, so a busy moment of the machine falls on all alike.
    for (int launch = 0; launch < launches; ++launch) {
        // As at login: the tray icon only, the panel stays closed.
        app.push_back(millisecondsUntilReady(QStringLiteral(VEXORA_APP_PATH), environment, {"--autostart"}));
        reference.push_back(millisecondsUntilReady(QStringLiteral(VEXORA_MINIMAL_WINDOW_PATH), environment));
        qtTray.push_back(millisecondsUntilReady(QStringLiteral(VEXORA_MINIMAL_TRAY_PATH), environment));
    }
    const std::string sample = ", median of " + std::to_string(launches) + "; xfce4-panel hosts the icon";
    return {{"start-up to tray icon shown and idle", milliseconds(median(app)), milliseconds(median(reference)),
             times(median(app) / median(reference)) + " of a minimal Qt window" + sample},
            {"  a minimal Qt tray icon, the same way", milliseconds(median(qtTray)), milliseconds(median(reference)),
             times(median(qtTray) / median(reference)) + " of a minimal Qt window" + sample}};
}

}  // namespace vexora::bench

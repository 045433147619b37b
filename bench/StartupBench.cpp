// Start-up of the tray app, signed in with a warm cache, from process start until its tray icon
// is shown and the event loop has gone idle, next to a minimal Qt Widgets program showing one
// window, both on the same Xvfb display with a StatusNotifier host on the session bus.
#include "Benchmarks.h"
#include "ReadyLaunch.h"
#include "TrayAppBench.h"
#include "support/DevServer.h"

#include <QProcess>
#include <QTemporaryDir>
#include <stdexcept>

namespace vexora::bench {

using namespace vexora::test;

namespace {

constexpr int launches = 10;

// The watcher lives as long as this object; it counts the icons registered with it.
class TrayHost {
public:
    TrayHost() {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(VEXORA_TRAY_HOST_PATH), {});
        while (!printed_.contains("ready\n")) {
            if (!process_.waitForReadyRead(10000)) throw std::runtime_error("the tray host did not start");
            printed_ += process_.readAllStandardOutput();
        }
    }
    ~TrayHost() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    int registeredIcons() {
        process_.waitForReadyRead(200);
        printed_ += process_.readAllStandardOutput();
        return int(printed_.count("registered\n"));
    }

private:
    QProcess process_;
    QByteArray printed_;
};

// A first launch signs in and fills the avatar cache, as a user's earlier session would have.
void warmUp(const QProcessEnvironment& environment, const QString& home) {
    QProcessEnvironment first = environment;
    first.insert("VEXORA_DEBUG_SHOW_PANEL_ON_LAUNCH", "1");
    AppDriver app(first);
    if (!app.start(home + "/automation")) throw std::runtime_error("the tray app did not start");
    if (!app.signInDemo() || !waitForFaces(app)) throw std::runtime_error("the first launch did not load the workspace");
    app.quit();
}

}  // namespace

std::vector<BenchRow> startupRows() {
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) throw std::runtime_error("needs ./dev's private keyring session");
    DevServer server;
    VirtualDisplay display;
    if (display.name().isEmpty()) throw std::runtime_error("Xvfb did not start");
    QTemporaryDir home;
    QProcessEnvironment environment = trayAppEnvironment(display.name(), server.baseURL(), home.path());
    warmUp(environment, home.path());

    TrayHost host;
    environment.insert("VEXORA_DEBUG_REPORT_READY", "1");
    std::vector<double> app, reference;
    // Taken in turns, so a busy moment of the machine falls on both alike.
    for (int launch = 0; launch < launches; ++launch) {
        // As at login: the tray icon only, the panel stays closed.
        app.push_back(millisecondsUntilReady(QStringLiteral(VEXORA_APP_PATH), environment, {"--autostart"}));
        reference.push_back(millisecondsUntilReady(QStringLiteral(VEXORA_MINIMAL_WINDOW_PATH), environment));
    }
    const int icons = host.registeredIcons();
    return {{"start-up to tray icon shown and idle", milliseconds(median(app)), milliseconds(median(reference)),
             times(median(app) / median(reference)) + " of a minimal Qt window, median of " + std::to_string(launches) +
                 "; tray icon in " + std::to_string(icons) + " of them"}};
}

}  // namespace vexora::bench

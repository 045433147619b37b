// From a click on the tray icon until the panel is on screen, on a real desktop (Xvfb, openbox,
// trayer), next to a minimal Qt program that shows a frameless window from its tray icon the same
// way. The first click after start-up, and later ones.
#include "Benchmarks.h"
#include "ClickProbe.h"
#include "TrayAppBench.h"
#include "support/DevServer.h"
#include "support/LinuxDesktop.h"

#include <QProcess>
#include <QThread>
#include <stdexcept>

namespace vexora::bench {

using namespace vexora::test;

namespace {

constexpr int launches = 5;
constexpr int laterClicks = 4;

struct Clicks {
    std::vector<double> first, later;
};

void measure(LinuxDesktop& desktop, ClickProbe& probe, const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment, Clicks& clicks) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    std::optional<QRect> icon;
    LinuxDesktop::waitUntil([&] { return (icon = desktop.trayIcon(desktop.screenshot())).has_value(); }, 10000);
    if (!icon) throw std::runtime_error(program.section('/', -1).toStdString() + " showed no tray icon");
    QThread::msleep(1500);  // start-up is over: the user's first click comes now
    clicks.first.push_back(probe.clickUntilMapped(icon->center()));
    for (int click = 0; click < laterClicks; ++click) {
        QThread::msleep(600);  // longer than a double click
        probe.clickUntilUnmapped(icon->center());
        QThread::msleep(600);  // longer than a double click
        clicks.later.push_back(probe.clickUntilMapped(icon->center()));
    }
    process.kill();
    process.waitForFinished(5000);
    // The tray host drops the icon of a program that ended; wait until it has.
    LinuxDesktop::waitUntil([&] { return !desktop.trayIcon(desktop.screenshot()); }, 5000);
}

}  // namespace

std::vector<BenchRow> clickToVisibleRows() {
    DevServer server;
    LinuxDesktop desktop({TrayHost::trayer, Edge::bottom, true});
    if (!desktop.start()) throw std::runtime_error("the desktop did not start");
    QProcessEnvironment environment = desktop.environment();
    environment.insert("VEXORA_API_BASE_URL", server.baseURL());
    environment.insert("VEXORA_APPCAST_URL", server.baseURL() + "/appcast.xml");
    ClickProbe probe(environment.value("DISPLAY"));
    Clicks app, reference;
    // Taken in turns, so a busy moment of the machine falls on both alike.
    for (int launch = 0; launch < launches; ++launch) {
        measure(desktop, probe, QStringLiteral(VEXORA_APP_PATH), {"--autostart"}, environment, app);
        measure(desktop, probe, QStringLiteral(VEXORA_MINIMAL_TRAY_PATH), {}, environment, reference);
    }
    const auto row = [](const std::string& what, const std::vector<double>& ours, const std::vector<double>& theirs) {
        return BenchRow{what, milliseconds(median(ours)), milliseconds(median(theirs)),
                        times(median(ours) / median(theirs)) + " of a minimal frameless window, median of " +
                            std::to_string(ours.size()) + "; trayer under openbox"};
    };
    return {row("first click on the tray icon to panel mapped", app.first, reference.first),
            row("later clicks to panel mapped", app.later, reference.later)};
}

}  // namespace vexora::bench

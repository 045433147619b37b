#pragma once

#include "support/AppDriver.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

// "WxH+X+Y", as the X tools write a geometry; found by gtest's printer too.
inline std::ostream& operator<<(std::ostream& out, const QRect& r) {
    return out << r.width() << 'x' << r.height() << '+' << r.x() << '+' << r.y();
}

namespace vexora::test {

enum class TrayHost { none, xfcePanel, trayer };
enum class Edge { top, bottom };

struct DesktopConfig {
    TrayHost host = TrayHost::trayer;
    Edge edge = Edge::top;
    bool dark = true;
    QSize screen{1280, 800};
    // A headless weston instead of Xvfb, openbox and a tray host.
    bool wayland = false;
};

// A top-level X window as xwininfo reports it.
struct XWindow {
    quint32 id = 0;
    QRect geometry;
    bool viewable = false;
    bool overrideRedirect = false;
};
std::ostream& operator<<(std::ostream& out, const XWindow& window);

// A program in a session of its own, so that ending its process group ends what it started too:
// the bus's activated services, the panel's plugin processes. Ended as well if the test dies.
struct EndProcessGroup {
    qint64 group = 0;
    void operator()(QProcess* process) const;
};
using Spawned = std::unique_ptr<QProcess, EndProcessGroup>;

// A whole desktop session of its own for one test: a display server, a private session bus with
// an unlocked keyring, a window manager and a tray host at one screen edge. Everything it starts
// runs in process groups that end with it. Checks look at the desktop from outside: screenshots,
// window properties, synthetic input through XTEST.
class LinuxDesktop {
public:
    explicit LinuxDesktop(DesktopConfig config);

    ::testing::AssertionResult start(bool withTrayHost = true);
    ::testing::AssertionResult startTrayHost();
    void stopTrayHost();

    // For the application and the CLI: this desktop's display, bus, home and XDG folders.
    QProcessEnvironment environment() const { return environment_; }
    QString home() const { return home_.path(); }
    const DesktopConfig& config() const { return config_; }
    // The strip along the edge the tray host occupies.
    QRect panelStrip() const;
    QColor panelColor() const;

    QImage screenshot();
    // The bounding box of the strip's pixels that differ from its background (its commonest colour).
    std::optional<QRect> trayIcon(const QImage& shot) const;
    // Largest grey-level difference (0..1) between the icon's pixels and the panel background.
    double iconContrast(const QImage& shot, QRect icon) const;

    QRect workArea();
    quint32 activeWindow();
    XWindow window(quint32 id);
    // The windows `xdotool search` finds with these criteria, mapped or not.
    std::vector<XWindow> search(const QStringList& criteria);
    // Mapped override-redirect windows: menus (the tray host's too), tooltips, drag icons.
    std::vector<XWindow> overrideRedirectWindows();
    QStringList netWmState(quint32 window);
    // The StatusNotifierWatcher's items; empty without a watcher.
    QStringList statusNotifierItems();

    void click(QPoint at, int button = 1);
    void type(const QString& text);
    void key(const QString& name);

    // Runs a tool in this session and returns its standard output.
    QByteArray run(const QString& program, const QStringList& arguments);
    bool hasBusName(const QString& name);
    // Starts a program in this session, its output and errors in logs/NAME.log.
    Spawned spawn(const QString& name, const QString& program, const QStringList& arguments);
    QString logOf(const QString& name) const;
    static bool waitUntil(const std::function<bool()>& check, int timeoutMs) { return pollUntil(check, timeoutMs); }

private:
    ::testing::AssertionResult startBus();
    QByteArray watcherProperty(const QString& name);

    DesktopConfig config_;
    QTemporaryDir home_;
    QProcessEnvironment environment_;
    std::unique_ptr<VirtualDisplay> display_;
    // Ended in reverse order, the tray host first, and all before the display.
    Spawned weston_, bus_, keyring_, windowManager_, trayHost_;
    QElapsedTimer lastInput_;
};

}  // namespace vexora::test

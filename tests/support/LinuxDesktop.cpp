#include "support/LinuxDesktop.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace vexora::test {

namespace {

constexpr int stripHeight = 30;

QRgb commonestColor(const QImage& image, QRect area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y)];
    return std::max_element(counts.cbegin(), counts.cend()).key();
}

bool sameColor(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QString hexId(quint32 window) { return QStringLiteral("0x") + QString::number(window, 16); }

// One panel along the whole edge with the systray plugin alone, in a solid colour. p=6 snaps it
// to the top edge, p=10 to the bottom one.
const char* xfcePanelConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="dark-mode" type="bool" value="%1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=%2;x=0;y=0"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="length" type="uint" value="100"/>
      <property name="size" type="uint" value="%3"/>
      <property name="background-style" type="uint" value="1"/>
      <property name="background-rgba" type="array">
        <value type="double" value="%4"/><value type="double" value="%5"/><value type="double" value="%6"/><value type="double" value="1"/>
      </property>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty"><property name="plugin-1" type="string" value="systray"/></property>
</channel>
)";

}  // namespace

std::ostream& operator<<(std::ostream& out, const XWindow& window) {
    return out << hexId(window.id).toStdString() << ' ' << window.geometry << (window.viewable ? " viewable" : " unmapped")
               << (window.overrideRedirect ? " override-redirect" : "");
}

LinuxDesktop::LinuxDesktop(DesktopConfig config) : config_(std::move(config)) {
    environment_ = QProcessEnvironment::systemEnvironment();
    // Nothing of the session the test runs in reaches this one.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM", "XAUTHORITY",
                             "SESSION_MANAGER", "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP", "AT_SPI_BUS_ADDRESS"})
        environment_.remove(QString::fromLatin1(name));
    const QDir home(home_.path());
    for (const char* folder : {".config", ".local/share", ".cache", "run", "logs"}) home.mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(home.filePath("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment_.insert("HOME", home.path());
    environment_.insert("XDG_CONFIG_HOME", home.filePath(".config"));
    environment_.insert("XDG_DATA_HOME", home.filePath(".local/share"));
    environment_.insert("XDG_CACHE_HOME", home.filePath(".cache"));
    environment_.insert("XDG_RUNTIME_DIR", home.filePath("run"));
}

::testing::AssertionResult LinuxDesktop::start(bool withTrayHost) {
    if (config_.wayland) {
        if (auto bus = startBus(); !bus) return bus;
        weston_ = spawn("weston", "weston", {"--backend=headless-backend.so", "--socket=wayland-0", "--no-config"});
        // Its shell client is launched last, once its output and socket are in place.
        if (!waitUntil([&] { return logOf("weston").contains("weston-desktop-shell"); }, 10000))
            return ::testing::AssertionFailure() << "weston did not start: " << logOf("weston").toStdString();
        environment_.insert("WAYLAND_DISPLAY", "wayland-0");
        environment_.insert("XDG_SESSION_TYPE", "wayland");
        // Headless weston has no seat, and Qt 6.4's Wayland text input crashes on a key event
        // without one; the compose input method (which many sessions set anyway) stands in.
        environment_.insert("QT_IM_MODULE", "compose");
        return ::testing::AssertionSuccess();
    }
    display_ = std::make_unique<VirtualDisplay>(config_.screen);
    if (display_->name().isEmpty()) return ::testing::AssertionFailure() << "Xvfb did not start";
    environment_.insert("DISPLAY", display_->name());
    environment_.insert("QT_QPA_PLATFORM", "xcb");
    if (auto bus = startBus(); !bus) return bus;
    windowManager_ = spawn("openbox", "openbox", {"--sm-disable"});
    if (!waitUntil([&] { return run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id #"); }, 10000))
        return ::testing::AssertionFailure() << "openbox did not start: " << logOf("openbox").toStdString();
    if (withTrayHost && config_.host != TrayHost::none) return startTrayHost();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult LinuxDesktop::startBus() {
    const QString socket = home() + "/run/bus";
    bus_ = spawn("dbus-daemon", "dbus-daemon", {"--session", "--nofork", "--address=unix:path=" + socket});
    if (!pollUntil([&] { return QFile::exists(socket); }, 10000, 10))
        return ::testing::AssertionFailure() << "no session bus: " << logOf("dbus-daemon").toStdString();
    environment_.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + socket);
    // The login keyring is created and unlocked with the password read from standard input.
    keyring_ = spawn("gnome-keyring", "gnome-keyring-daemon", {"--foreground", "--unlock", "--components=secrets"});
    keyring_->write("test");
    keyring_->waitForBytesWritten(5000);
    keyring_->closeWriteChannel();
    if (!waitUntil([&] { return hasBusName("org.freedesktop.secrets"); }, 10000))
        return ::testing::AssertionFailure() << "no keyring on the bus: " << logOf("gnome-keyring").toStdString();
    return ::testing::AssertionSuccess();
}

// Ready once the window manager has taken the panel's strut, the panel shows its colour, and
// xfce4-panel's StatusNotifier watcher has its host.
::testing::AssertionResult LinuxDesktop::startTrayHost() {
    const bool xfce = config_.host == TrayHost::xfcePanel, top = config_.edge == Edge::top;
    const QColor color = panelColor();
    const QString name = xfce ? "xfce4-panel" : "trayer";
    if (xfce) {
        // Read by xfconfd, which the bus starts with this home's XDG_CONFIG_HOME.
        const QDir folder(home() + "/.config/xfce4/xfconf/xfce-perchannel-xml");
        folder.mkpath(".");
        QFile file(folder.filePath("xfce4-panel.xml"));
        if (file.open(QIODevice::WriteOnly))
            file.write(QString::fromLatin1(xfcePanelConfig)
                           .arg(config_.dark ? "true" : "false", top ? "6" : "10", QString::number(stripHeight))
                           .arg(color.redF()).arg(color.greenF()).arg(color.blueF()).toUtf8());
    }
    const QStringList arguments = xfce ? QStringList{"--sm-client-disable"} : QStringList{
        "--edge", top ? "top" : "bottom", "--align", "right", "--widthtype", "percent", "--width", "100", "--heighttype", "pixel",
        "--height", QString::number(stripHeight), "--SetDockType", "true", "--SetPartialStrut", "true", "--transparent", "true",
        "--alpha", "0", "--tint", "0x" + color.name().mid(1)};
    trayHost_ = spawn(name, name, arguments);
    const QRect expected = QRect(QPoint(0, 0), config_.screen).adjusted(0, top ? stripHeight : 0, 0, top ? 0 : -stripHeight);
    QRect area;
    QRgb painted = 0;
    bool watcher = !xfce;
    const auto isReady = [&] {
        area = workArea();
        watcher = watcher || watcherProperty("IsStatusNotifierHostRegistered").contains("boolean true");
        painted = commonestColor(screenshot(), panelStrip());
        // Trayer blends its tint, a step or two off the colour asked for.
        return area == expected && watcher && sameColor(painted, color.rgb(), 3);
    };
    bool ready = waitUntil(isReady, xfce ? 15000 : 6000);
    // Now and then trayer starts without ever mapping its strip, silently; a second start maps it.
    if (!ready && !xfce) {
        trayHost_.reset();
        trayHost_ = spawn(name, name, arguments);
        ready = waitUntil(isReady, 10000);
    }
    if (ready) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name.toStdString() << " not ready: work area " << area << ", strip "
                                         << QColor(painted).name().toStdString() << ", watcher host " << watcher
                                         << "; log: " << logOf(name).toStdString();
}

void LinuxDesktop::stopTrayHost() {
    trayHost_.reset();
    waitUntil([&] { return workArea() == QRect(QPoint(0, 0), config_.screen); }, 5000);
}

QRect LinuxDesktop::panelStrip() const {
    return {0, config_.edge == Edge::top ? 0 : config_.screen.height() - stripHeight, config_.screen.width(), stripHeight};
}

QColor LinuxDesktop::panelColor() const { return config_.dark ? QColor(0x20, 0x22, 0x25) : QColor(0xea, 0xea, 0xea); }

QImage LinuxDesktop::screenshot() {
    const QImage shot = QImage::fromData(run("import", {"-window", "root", "png:-"}), "PNG");
    return shot.isNull() ? QImage(config_.screen, QImage::Format_RGB32) : shot.convertToFormat(QImage::Format_RGB32);
}

std::optional<QRect> LinuxDesktop::trayIcon(const QImage& shot) const {
    const QRect strip = panelStrip();
    const QRgb panel = commonestColor(shot, strip);
    QRect icon;
    for (int y = strip.top(); y <= strip.bottom(); ++y)
        for (int x = strip.left(); x <= strip.right(); ++x)
            if (!sameColor(shot.pixel(x, y), panel, 8)) icon |= QRect(x, y, 1, 1);
    return icon.isEmpty() ? std::nullopt : std::optional(icon);
}

double LinuxDesktop::iconContrast(const QImage& shot, QRect icon) const {
    const int panel = qGray(commonestColor(shot, panelStrip()));
    int largest = 0;
    for (int y = icon.top(); y <= icon.bottom(); ++y)
        for (int x = icon.left(); x <= icon.right(); ++x) largest = std::max(largest, std::abs(qGray(shot.pixel(x, y)) - panel));
    return largest / 255.0;
}

QRect LinuxDesktop::workArea() {
    const QStringList values = QString::fromLatin1(run("xprop", {"-root", "-notype", "_NET_WORKAREA"})).section('=', 1).split(',');
    if (values.size() < 4) return {};
    return {values[0].trimmed().toInt(), values[1].trimmed().toInt(), values[2].trimmed().toInt(), values[3].trimmed().toInt()};
}

quint32 LinuxDesktop::activeWindow() {
    const QString answer = QString::fromLatin1(run("xprop", {"-root", "-notype", "_NET_ACTIVE_WINDOW"}));
    return QRegularExpression(QStringLiteral("0x([0-9a-f]+)")).match(answer).captured(1).toUInt(nullptr, 16);
}

XWindow LinuxDesktop::window(quint32 id) {
    const QString info = QString::fromLocal8Bit(run("xwininfo", {"-id", hexId(id)}));
    const auto number = [&](const char* label) {
        return QRegularExpression(QString::fromLatin1(label) + ":\\s*(-?\\d+)").match(info).captured(1).toInt();
    };
    return {id, QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height")),
            info.contains("Map State: IsViewable"), info.contains("Override Redirect State: yes")};
}

std::vector<XWindow> LinuxDesktop::search(const QStringList& criteria) {
    std::vector<XWindow> windows;
    for (const QByteArray& line : run("xdotool", QStringList{"search"} + criteria).split('\n'))
        if (const quint32 id = line.toUInt()) windows.push_back(window(id));
    return windows;
}

std::vector<XWindow> LinuxDesktop::overrideRedirectWindows() {
    std::vector<XWindow> windows;
    static const QRegularExpression child(QStringLiteral("^\\s+0x([0-9a-f]+) "), QRegularExpression::MultilineOption);
    for (auto match = child.globalMatch(QString::fromLocal8Bit(run("xwininfo", {"-root", "-children"}))); match.hasNext();)
        if (const XWindow found = window(match.next().captured(1).toUInt(nullptr, 16)); found.viewable && found.overrideRedirect)
            windows.push_back(found);
    return windows;
}

QStringList LinuxDesktop::netWmState(quint32 window) {
    const QString answer = QString::fromLatin1(run("xprop", {"-id", hexId(window), "-notype", "_NET_WM_STATE"}));
    // "_NET_WM_STATE = A, B", or "not found." without one.
    return answer.contains('=') ? answer.section('=', 1).simplified().remove(' ').split(',', Qt::SkipEmptyParts) : QStringList();
}

QByteArray LinuxDesktop::watcherProperty(const QString& name) {
    return run("dbus-send", {"--session", "--print-reply", "--dest=org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                             "org.freedesktop.DBus.Properties.Get", "string:org.kde.StatusNotifierWatcher", "string:" + name});
}

QStringList LinuxDesktop::statusNotifierItems() {
    QStringList items;
    static const QRegularExpression item(QStringLiteral("string \"([^\"]*)\""));
    for (auto match = item.globalMatch(QString::fromUtf8(watcherProperty("RegisteredStatusNotifierItems"))); match.hasNext();)
        items << match.next().captured(1);
    return items;
}

void LinuxDesktop::click(QPoint at, int button) {
    // No sooner than a person's hand gets there: a second of mouse travel, or from the keys to the
    // mouse. Closer clicks read as a double click or as the tail of the gesture before.
    if (lastInput_.isValid() && lastInput_.elapsed() < 1000) QThread::msleep(1000 - lastInput_.elapsed());
    run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", QString::number(button)});
    lastInput_.start();
}

void LinuxDesktop::type(const QString& text) {
    run("xdotool", {"type", "--delay", "20", "--", text});
    lastInput_.start();
}

void LinuxDesktop::key(const QString& name) {
    run("xdotool", {"key", "--", name});
    lastInput_.start();
}

QByteArray LinuxDesktop::run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return process.readAllStandardOutput();
}

bool LinuxDesktop::hasBusName(const QString& name) {
    return run("dbus-send", {"--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus.NameHasOwner", "string:" + name})
        .contains("boolean true");
}

Spawned LinuxDesktop::spawn(const QString& name, const QString& program, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment_);
    process->setChildProcessModifier([] {
        ::setsid();
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    process->setStandardOutputFile(home() + "/logs/" + name + ".log", QIODevice::Append);
    process->setStandardErrorFile(home() + "/logs/" + name + ".log", QIODevice::Append);
    process->start(program, arguments);
    const qint64 group = process->waitForStarted(5000) ? process->processId() : 0;
    return Spawned(process.release(), EndProcessGroup{group});
}

void EndProcessGroup::operator()(QProcess* process) const {
    if (group > 0) ::kill(static_cast<pid_t>(-group), SIGTERM);
    process->waitForFinished(3000);
    // Whatever outlived its leader or ignored the request.
    if (group > 0) ::kill(static_cast<pid_t>(-group), SIGKILL);
    process->waitForFinished(3000);
    delete process;
}

QString LinuxDesktop::logOf(const QString& name) const {
    QFile log(home() + "/logs/" + name + ".log");
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()).right(2000) : QString();
}

}  // namespace vexora::test

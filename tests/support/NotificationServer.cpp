#include "support/NotificationServer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace vexora::test {

namespace {

const char* dunstConfig = R"([global]
    origin = bottom-right
    offset = 20x20
    width = 320
    mouse_left_click = do_action, close_current
[urgency_low]
    timeout = 0
[urgency_normal]
    timeout = 0
[urgency_critical]
    timeout = 0
)";

// dbus-monitor's text: a header line at the left margin per message, its arguments indented.
struct Message {
    QString header;
    QStringList lines;
    QString field(const QString& name) const {
        return QRegularExpression(name + QStringLiteral("=([^ ;]+)")).match(header).captured(1);
    }
};

std::vector<Message> messages(const QString& log) {
    std::vector<Message> all;
    for (const QString& line : log.split(QLatin1Char('\n'))) {
        if (line.isEmpty()) continue;
        if (!line.front().isSpace()) all.push_back({line, {}});
        else if (!all.empty()) all.back().lines << line.trimmed();
    }
    return all;
}

// `string "text"`, `uint32 7`, `variant string "text"`: the value alone.
QString valueOf(const QString& line) {
    static const QRegularExpression typed(QStringLiteral("^(?:variant\\s+)?(\\w+)\\s+(.*)$"));
    const auto match = typed.match(line);
    QString value = match.captured(2);
    if (match.captured(1) == QLatin1String("string") && value.size() >= 2) value = value.mid(1, value.size() - 2);
    return value;
}

ReceivedNotification notifyCall(const Message& message) {
    ReceivedNotification received;
    QStringList scalars;
    int arrays = 0;
    bool inArray = false;
    QString hintKey;
    for (const QString& line : message.lines) {
        if (line == QLatin1String("array [")) {
            ++arrays;
            inArray = true;
        } else if (line == QLatin1String("]")) {
            inArray = false;
        } else if (line.startsWith(QLatin1String("dict entry(")) || line == QLatin1String(")")) {
        } else if (!inArray) {
            scalars << valueOf(line);
        } else if (arrays == 1) {
            received.actions << valueOf(line);
        } else if (line.startsWith(QLatin1String("variant"))) {
            received.hints.insert(hintKey, valueOf(line));
        } else {
            hintKey = valueOf(line);
        }
    }
    received.appName = scalars.value(0);
    received.replacesId = scalars.value(1).toUInt();
    received.appIcon = scalars.value(2);
    received.summary = scalars.value(3);
    received.body = scalars.value(4);
    return received;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const ReceivedNotification& n) {
    out << "{app_name \"" << n.appName.toStdString() << "\", replaces_id " << n.replacesId << ", app_icon \""
        << n.appIcon.toStdString() << "\", summary \"" << n.summary.toStdString() << "\", body \"" << n.body.toStdString()
        << "\", actions [" << n.actions.join(", ").toStdString() << "], hints {";
    for (auto it = n.hints.cbegin(); it != n.hints.cend(); ++it)
        out << it.key().toStdString() << ": \"" << it.value().toStdString() << "\" ";
    return out << "}, id " << (n.id ? std::to_string(*n.id) : std::string("none")) << '}';
}

NotificationServer::~NotificationServer() {
    end(server_);
    end(monitor_);
}

::testing::AssertionResult NotificationServer::start() {
    const QDir config(desktop_.home() + "/.config/dunst");
    config.mkpath(".");
    QFile file(config.filePath("dunstrc"));
    if (!file.open(QIODevice::WriteOnly) || file.write(dunstConfig) < 0) return ::testing::AssertionFailure() << "no dunstrc";
    file.close();
    // Calls to the server, its answers, and its signals.
    spawn(monitor_, "dbus-monitor", "dbus-monitor",
          {"--session", "interface='org.freedesktop.Notifications'",
           "type='method_return',sender='org.freedesktop.Notifications'"});
    if (!LinuxDesktop::waitUntil([&] { return monitorLog().contains("NameAcquired"); }, 5000))
        return ::testing::AssertionFailure() << "dbus-monitor did not start";
    spawn(server_, "dunst", "dunst", {});
    if (!LinuxDesktop::waitUntil([&] {
            return desktop_.run("dbus-send", {"--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                                              "org.freedesktop.DBus.NameHasOwner", "string:org.freedesktop.Notifications"})
                .contains("boolean true");
        }, 10000))
        return ::testing::AssertionFailure() << "dunst did not take the notification server's name";
    return ::testing::AssertionSuccess();
}

std::vector<ReceivedNotification> NotificationServer::received() {
    std::vector<ReceivedNotification> calls;
    std::vector<std::pair<QString, QString>> callers;  // sender and serial of each call
    for (const Message& message : messages(monitorLog())) {
        if (message.header.startsWith("method call") && message.field("member") == "Notify") {
            calls.push_back(notifyCall(message));
            callers.emplace_back(message.field("sender"), message.field("serial"));
        } else if (message.header.startsWith("method return") && !message.lines.isEmpty()) {
            const auto caller = std::find(callers.begin(), callers.end(),
                                          std::pair(message.field("destination"), message.field("reply_serial")));
            if (caller != callers.end()) calls[caller - callers.begin()].id = valueOf(message.lines.first()).toUInt();
        }
    }
    return calls;
}

QStringList NotificationServer::invokedActions() {
    QStringList invoked;
    for (const Message& message : messages(monitorLog()))
        if (message.header.startsWith("signal") && message.field("member") == "ActionInvoked" && message.lines.size() == 2)
            invoked << valueOf(message.lines[0]) + ' ' + valueOf(message.lines[1]);
    return invoked;
}

int NotificationServer::displayed() {
    bool ok = false;
    const int count = desktop_.run("dunstctl", {"count", "displayed"}).trimmed().toInt(&ok);
    return ok ? count : -1;
}

std::optional<XWindow> NotificationServer::window() {
    for (const QByteArray& line : desktop_.run("xdotool", {"search", "--onlyvisible", "--class", "Dunst"}).split('\n'))
        if (const quint32 id = line.toUInt())
            if (const XWindow found = desktop_.window(id); found.viewable && found.geometry.height() > 1) return found;
    return std::nullopt;
}

void NotificationServer::spawn(std::unique_ptr<QProcess>& process, const QString& name, const QString& program,
                               const QStringList& arguments) {
    process = std::make_unique<QProcess>();
    process->setProcessEnvironment(desktop_.environment());
    // Its own process group, ended with the test even if the test dies.
    process->setChildProcessModifier([] {
        ::setsid();
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    process->setStandardOutputFile(desktop_.home() + "/logs/" + name + ".log", QIODevice::Append);
    process->setStandardErrorFile(desktop_.home() + "/logs/" + name + ".err", QIODevice::Append);
    process->start(program, arguments);
    process->waitForStarted(5000);
}

void NotificationServer::end(std::unique_ptr<QProcess>& process) {
    if (!process) return;
    if (const qint64 id = process->processId(); id > 0) ::kill(static_cast<pid_t>(-id), SIGTERM);
    process->waitForFinished(3000);
    process.reset();
}

QString NotificationServer::monitorLog() const {
    QFile log(desktop_.home() + "/logs/dbus-monitor.log");
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

}  // namespace vexora::test

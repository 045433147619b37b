#include "support/NotificationServer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

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

// dbus-monitor's text: a header line at the left margin per message, then its arguments indented,
// one a line: `string "text"`, `uint32 7`, `variant   string "text"`, `array [`, `]`, ...
struct Message {
    QString header;
    QStringList lines;
    QString field(const QString& name) const {
        return QRegularExpression(name + QStringLiteral("=([^ ;]+)")).match(header).captured(1);
    }
    // A one-line argument's value, a string's without its quotes.
    QString value(qsizetype line) const {
        static const QRegularExpression typed(QStringLiteral("^(?:variant\\s+)?\\w+\\s+\"?(.*?)\"?$"));
        return typed.match(lines.value(line)).captured(1);
    }
};

std::vector<Message> messages(const LinuxDesktop& desktop) {
    QFile log(desktop.home() + "/logs/dbus-monitor.log");
    std::vector<Message> all;
    if (log.open(QIODevice::ReadOnly))
        for (const QString& line : QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)) {
            if (!line.front().isSpace()) all.push_back({line, {}});
            else if (!all.empty()) all.back().lines << line.trimmed();
        }
    return all;
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

::testing::AssertionResult NotificationServer::start() {
    const QDir config(desktop_.home() + "/.config/dunst");
    config.mkpath(".");
    QFile file(config.filePath("dunstrc"));
    if (!file.open(QIODevice::WriteOnly) || file.write(dunstConfig) < 0) return ::testing::AssertionFailure() << "no dunstrc";
    file.close();
    // Calls to the server, its answers, and its signals.
    monitor_ = desktop_.spawn("dbus-monitor", "dbus-monitor",
                              {"--session", "interface='org.freedesktop.Notifications'",
                               "type='method_return',sender='org.freedesktop.Notifications'"});
    if (!LinuxDesktop::waitUntil([&] { return desktop_.logOf("dbus-monitor").contains("NameAcquired"); }, 5000))
        return ::testing::AssertionFailure() << "dbus-monitor did not start";
    server_ = desktop_.spawn("dunst", "dunst", {});
    if (!LinuxDesktop::waitUntil([&] { return desktop_.hasBusName("org.freedesktop.Notifications"); }, 10000))
        return ::testing::AssertionFailure() << "dunst did not take the notification server's name: "
                                             << desktop_.logOf("dunst").toStdString();
    return ::testing::AssertionSuccess();
}

// Notify's arguments: app name, replaces id, icon, summary, body, `array [` of the actions `]`,
// the hints' `array [` of `dict entry(` key `variant value` `)` `]`, and the timeout.
std::vector<ReceivedNotification> NotificationServer::received() {
    std::vector<ReceivedNotification> calls;
    QStringList callers;  // "sender serial" of each call, which its answer names
    for (const Message& m : messages(desktop_)) {
        if (m.field("member") == "Notify") {
            ReceivedNotification& n = calls.emplace_back(
                ReceivedNotification{m.value(0), m.value(1).toUInt(), m.value(2), m.value(3), m.value(4), {}, {}, {}});
            qsizetype line = 6;
            for (; line < m.lines.size() && m.lines[line] != "]"; ++line) n.actions << m.value(line);
            for (; line < m.lines.size(); ++line)
                if (m.lines[line].startsWith("variant")) n.hints.insert(m.value(line - 1), m.value(line));
            callers << m.field("sender") + ' ' + m.field("serial");
        } else if (const qsizetype call = callers.indexOf(m.field("destination") + ' ' + m.field("reply_serial")); call >= 0) {
            calls[call].id = m.value(0).toUInt();
        }
    }
    return calls;
}

QStringList NotificationServer::invokedActions() {
    QStringList invoked;
    for (const Message& m : messages(desktop_))
        if (m.field("member") == "ActionInvoked") invoked << m.value(0) + ' ' + m.value(1);
    return invoked;
}

int NotificationServer::displayed() {
    bool ok = false;
    const int count = desktop_.run("dunstctl", {"count", "displayed"}).trimmed().toInt(&ok);
    return ok ? count : -1;
}

std::optional<XWindow> NotificationServer::window() {
    for (const XWindow& found : desktop_.search({"--onlyvisible", "--class", "Dunst"}))
        if (found.viewable && found.geometry.height() > 1) return found;
    return std::nullopt;
}

}  // namespace vexora::test

#include "shell/AutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace vexora {

namespace {

// Exec values quote arguments that hold reserved characters, escaping the quote's own specials.
QString quotedForExec(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); })) return argument;
    QString escaped = argument;
    for (const char* special : {"\\", "\"", "`", "$"}) escaped.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

}  // namespace

AutostartEntry::AutostartEntry(QString applicationId, QString displayName, QString programPath)
    : applicationId_(std::move(applicationId)), displayName_(std::move(displayName)), programPath_(std::move(programPath)) {}

QString AutostartEntry::path() const {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/") +
           applicationId_ + QStringLiteral(".desktop");
}

bool AutostartEntry::isEnabled() const {
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) return false;
    bool enabled = true;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) inMainGroup = line == QLatin1String("[Desktop Entry]");
        if (!inMainGroup) continue;
        if (line == QLatin1String("Hidden=true") || line == QLatin1String("X-GNOME-Autostart-enabled=false")) enabled = false;
    }
    return enabled;
}

bool AutostartEntry::setEnabled(bool enabled, QString* error) const {
    const QString file = path();
    if (!enabled) {
        if (!QFile::exists(file) || QFile::remove(file)) return true;
        if (error) *error = QStringLiteral("cannot remove %1").arg(file);
        return false;
    }
    QSaveFile entry(file);
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %3\nIcon=%4\nTerminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(displayName_, quotedForExec(programPath_), QLatin1String(launchArgument), applicationId_);
    if (!QDir().mkpath(QFileInfo(file).path()) || !entry.open(QIODevice::WriteOnly) || entry.write(text.toUtf8()) < 0 ||
        !entry.commit()) {
        if (error) *error = QStringLiteral("cannot write %1: %2").arg(file, entry.errorString());
        return false;
    }
    return true;
}

}  // namespace vexora

#pragma once

#include <QList>
#include <QString>

namespace vexora::cli {

// What vexora-ugc's --help and the manual pages of both programs say besides the commands: exit
// codes, the environment and the files. Kept next to the command table so they change together.

// The organisation the tray app and vexora-ugc run under; with the application name it names
// the shared preferences file and the app's data folders.
inline constexpr const char* organizationName = "Vexora";

struct CliExitStatus {
    int code;
    QString meaning;  // lower case
};
const QList<CliExitStatus>& exitStatuses();

enum class ReadBy { both, cli, trayApp };

struct CliEnvironmentVariable {
    QString name;
    QString description;  // sentences
    ReadBy readBy;
};
const QList<CliEnvironmentVariable>& environmentVariables();

struct CliFile {
    QString path;  // starts with $XDG_..., or names the keyring item
    QString description;
    ReadBy readBy;
};
const QList<CliFile>& files();

}  // namespace vexora::cli

#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace vexora::test {

// Starts vexora-ugc as a user runs it: against `baseURL`, with `settingsFolder` as its own
// settings (so each caller starts without workspace preferences), in the keyring session of
// `environment` (the caller's own by default). The caller's target defines VEXORA_CLI_PATH.
inline void startCli(QProcess& process, const QString& baseURL, const QString& settingsFolder, const QStringList& arguments,
                     QProcessEnvironment environment = QProcessEnvironment::systemEnvironment()) {
    environment.insert(QStringLiteral("VEXORA_API_BASE_URL"), baseURL);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsFolder);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VEXORA_CLI_PATH), arguments);
}

}  // namespace vexora::test

#include "CliRunner.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <stdexcept>

namespace vexora::bench {

CliRunner::Run CliRunner::run(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VEXORA_API_BASE_URL"), baseURL_);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings_.path());
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(VEXORA_CLI_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()), double(clock.nsecsElapsed()) / 1e6};
}

void CliRunner::signIn() {
    const Run signedIn = run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n");
    if (signedIn.exitCode != 0) throw std::runtime_error("vexora-ugc signin failed: " + signedIn.err.toStdString());
}

}  // namespace vexora::bench

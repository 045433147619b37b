#include "CliRunner.h"

#include "support/CliProcess.h"

#include <QElapsedTimer>
#include <stdexcept>

namespace vexora::bench {

CliRunner::Run CliRunner::run(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    test::startCli(process, baseURL_, settings_.path(), arguments);
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

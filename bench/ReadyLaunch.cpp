#include "ReadyLaunch.h"

#include "automation/ReadyReport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <stdexcept>

namespace vexora::bench {

double millisecondsUntilReady(const QString& program, const QProcessEnvironment& environment, const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    QByteArray printed;
    while (!printed.contains(readyReportLine)) {
        if (!process.waitForReadyRead(30000)) {
            process.kill();
            process.waitForFinished(5000);
            throw std::runtime_error(program.section('/', -1).toStdString() + " never reported ready");
        }
        printed += process.readAllStandardOutput();
    }
    const double elapsed = double(clock.nsecsElapsed()) / 1e6;
    process.kill();
    process.waitForFinished(5000);
    return elapsed;
}

}  // namespace vexora::bench

#include "automation/ReadyReport.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMetaObject>
#include <memory>
#include <cstdio>

namespace vexora {

void reportReadyWhenIdle() {
    if (qEnvironmentVariable("VEXORA_DEBUG_REPORT_READY") != QLatin1String("1")) return;
    auto* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) return;
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [once] {
        QObject::disconnect(*once);
        std::printf("%s\n", readyReportLine);
        std::fflush(stdout);
    });
}

}  // namespace vexora

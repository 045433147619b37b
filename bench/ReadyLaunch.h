#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace vexora::bench {

// Starts the program and returns the milliseconds from its start until it printed the ready
// report line (see automation/ReadyReport.h); then ends it. Throws when no line came.
double millisecondsUntilReady(const QString& program, const QProcessEnvironment& environment);

}  // namespace vexora::bench

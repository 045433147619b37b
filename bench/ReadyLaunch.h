#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vexora::bench {

// Starts the program (with its arguments) and returns the milliseconds from its start until it printed the ready
// report line (see automation/ReadyReport.h); then ends it. Throws when no line came.
double millisecondsUntilReady(const QString& program, const QProcessEnvironment& environment,
                              const QStringList& arguments = {});

}  // namespace vexora::bench

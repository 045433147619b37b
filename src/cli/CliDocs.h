#pragma once

#include <QString>
#include <QStringList>

// The manual pages and the bash completion, made at build time from the command table and the
// reference data, so they cannot tell of an option the parser does not take.
namespace vexora::cli {

QString cliManualPage();      // vexora-ugc(1)
QString trayAppManualPage();  // vexora-ugc-volley(1)
QString bashCompletion();     // for /usr/share/bash-completion/completions/vexora-ugc

// What in the table cannot be documented as it stands (a synopsis naming an option the command
// does not list, or leaving one out; a choice the completion could not quote): none when fine.
QStringList tableProblems();

}  // namespace vexora::cli

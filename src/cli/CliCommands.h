#pragma once

#include "CliArguments.h"

namespace vexora::cli {

// Exit codes: 0 done, 1 the service or the workflow failed (its text on stderr), 2 usage, 130 Ctrl+C
// (the shell's code for a program ended by SIGINT).
enum ExitCode { success = 0, failure = 1, usageError = 2, interrupted = 130 };

// One command of vexora-ugc. The dispatch, --help, the manual page and the bash completion are all
// made from this table.
struct CliCommand {
    QString name;
    QString summary;          // one line, lower case, no full stop
    QString details;          // sentences the manual page and the command's --help add; may be empty
    QStringList synopsis;     // each way to call it; options by name only, their values come from `options`
    QList<CliOption> options;
    QStringList actions;      // the words its first argument may be (avatars list|generate|delete)
    bool takesHistoryID = false;  // its first argument may also be the id of a video in history
    int (*run)(const CliArguments& arguments);

    QString expandedSynopsis(qsizetype line) const;  // with each option's value: "--topic TEXT"
};

const QList<CliCommand>& cliCommands();
const CliCommand* findCliCommand(const QString& name);

// The options every command takes.
const QList<CliOption>& globalOptions();

int runGenerate(const CliArguments& arguments);
int runPublish(const CliArguments& arguments);
int runSuggest(const CliArguments& arguments);
int runHistory(const CliArguments& arguments);
int runDownload(const CliArguments& arguments);
int runAvatars(const CliArguments& arguments);
int runSchedules(const CliArguments& arguments);

}  // namespace vexora::cli

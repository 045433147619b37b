#pragma once

#include "CliArguments.h"

namespace vexora::cli {

// Exit codes: 0 done, 1 the service or the workflow failed (its text on stderr), 2 usage.
enum ExitCode { success = 0, failure = 1, usageError = 2 };

struct CliCommand {
    QString name;
    QString usage;          // shown by --help and on usage errors
    QStringList valueOptions;
    int (*run)(const CliArguments& arguments);
};

const QList<CliCommand>& cliCommands();

int runGenerate(const CliArguments& arguments);
int runPublish(const CliArguments& arguments);
int runSuggest(const CliArguments& arguments);
int runHistory(const CliArguments& arguments);
int runDownload(const CliArguments& arguments);
int runAvatars(const CliArguments& arguments);
int runSchedules(const CliArguments& arguments);

}  // namespace vexora::cli
